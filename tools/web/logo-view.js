// One logo on a canvas, for the exported page and the studio alike: the
// renderer, the scene of the page's settings (scene.js), the view as the
// viewer keeps it (turns, scale, move) under the pointer, wheel, keys and
// touch (controls.js, gestures.js), fitting, the motion (motion.js), and a
// frame drawn only when something changed. show() puts a model in (again
// and again in the studio: the view stays where the user left it).
//
// Options (each page its own):
//   controls     turning, moving and scaling by hand (true)
//   scrollsHost  the wheel and vertical swipes are the host page's until the
//                logo is clicked or tapped (false: the logo takes them)
//   transparent  no background: the host page shows through
//   pictures     picture() may be asked for a PNG, on a clear background if wanted
//   view         the first turns about x, y and z in degrees ([0, 0, 0])
//   fit          the logo fills the frame, less a margin
//   seconds      the motion's length (the model's settings when not given)
//   loop         loop the motion even when it ends away from its start
//   autoplay     play the motion as soon as the model is in (true)
//   label, hint  the canvas's name for screen readers; a line of help shown once

import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { addControls } from './controls.js';
import { panOffset, reset, startGestures, viewOf } from './gestures.js';
import { Motion } from './motion.js';
import { addLogo, frameCamera, logoBox, makeStage } from './scene.js';

const kFitMargin = 1.1;  // a twentieth of the logo's size each side

const kDefaults = {
    controls: true, scrollsHost: false, transparent: false, pictures: false, view: [0, 0, 0],
    fit: false, seconds: undefined, loop: false, autoplay: true, label: null, hint: null,
};

function bufferOf(model) {
    if (model instanceof ArrayBuffer) return model;
    return model.buffer.slice(model.byteOffset, model.byteOffset + model.byteLength);
}

function disposeTree(root) {
    root.traverse((part) => {
        if (part.geometry) part.geometry.dispose();
        if (part.material) [].concat(part.material).forEach((m) => m.dispose());
    });
}

function triangleCount(logo) {
    let triangles = 0;
    logo.traverse((part) => {
        if (part.isMesh) triangles += (part.geometry.index ? part.geometry.index : part.geometry.attributes.position).count / 3;
    });
    return triangles;
}

// Turning about the logo's centre: the centre moved back after the turn.
function applyView(view, content, metresPerPixel, centre) {
    const d = THREE.MathUtils.degToRad;
    content.rotation.set(d(view.rotX), d(view.rotY), d(view.rotZ), 'XYZ');
    content.scale.setScalar(view.scale);
    const turned = centre.clone().multiplyScalar(-view.scale).applyEuler(content.rotation);
    const [x, y] = panOffset(view, metresPerPixel);
    content.position.set(x, y, 0).add(turned).add(centre);
}

function makeRenderer({ transparent, pictures }) {
    const renderer = new THREE.WebGLRenderer({ antialias: true, alpha: transparent || pictures, preserveDrawingBuffer: pictures });
    renderer.setPixelRatio(window.devicePixelRatio);
    if (transparent) renderer.setClearColor(0x000000, 0);
    return renderer;
}

function describe(canvas, { label, controls }) {
    if (label) {
        canvas.setAttribute('role', 'img');
        canvas.setAttribute('aria-label', label);
    }
    if (label || controls) canvas.tabIndex = 0;
}

export class LogoView {
    constructor(container, options = {}) {
        this.options = { ...kDefaults, ...options };
        this.container = container;
        this.renderer = makeRenderer(this.options);
        this.canvas = this.renderer.domElement;
        describe(this.canvas, this.options);
        container.appendChild(this.canvas);
        this.gestures = startGestures(viewOf(this.options.view), { scrollsHost: this.options.scrollsHost });
        this.stage = null;
        this.motion = null;
        this.centre = new THREE.Vector3();
        this.metresPerPixel = 0;
        this.framesDrawn = 0;
        this.trianglesShown = 0;
        this.awaitingFrame = false;  // a model is in that no frame has shown yet
        this.onShown = null;         // called on the first frame of each model
        this.needsFrame = true;
        if (this.options.controls) {
            addControls(this.canvas, this, { hint: this.options.hint });
            this.update(this.gestures);
        }
        new ResizeObserver(() => this.resize()).observe(container);
        this.resize();
        this.lastTime = null;
        requestAnimationFrame((time) => this.tick(time));
    }

    get view() { return this.gestures.view; }
    get engaged() { return this.gestures.engaged; }
    get playing() { return Boolean(this.motion && this.motion.playing); }
    get loops() { return Boolean(this.motion && this.motion.loops); }
    get playedSeconds() { return this.motion ? this.motion.playedSeconds : 0; }

    // The gestures' next state: a new view is drawn; an engaged logo takes
    // every gesture, else vertical swipes are the page's.
    update(next) {
        const before = this.gestures;
        this.gestures = next;
        if (next.view !== before.view) this.redraw();
        this.canvas.style.touchAction = next.engaged ? 'none' : 'pan-y';
    }

    reset() {
        this.update(reset(this.gestures));
    }

    play() {
        if (this.motion) this.motion.play();
    }

    redraw() {
        this.needsFrame = true;
    }

    resize() {
        const width = Math.max(this.container.clientWidth, 1), height = Math.max(this.container.clientHeight, 1);
        this.renderer.setSize(width, height);
        if (this.stage) this.metresPerPixel = this.frameAt(width, height).width / width;
        this.redraw();
    }

    frameAt(width, height) {
        return frameCamera(this.stage.camera, this.config.camera, width, height, this.frame.width, this.frame.height);
    }

    // Shows a model (a .glb's bytes) with its page settings, in place of the
    // one before; resolves once it is in the scene.
    async show(model, config) {
        const gltf = await new GLTFLoader().parseAsync(bufferOf(model), '');
        if (this.stage) disposeTree(this.stage.content);
        if (this.motion) this.motion.stop();
        this.config = config;
        this.stage = makeStage(config, { transparent: this.options.transparent });
        const { logo, shadow, clip } = addLogo(this.stage, config, gltf);
        this.shadow = shadow;
        this.fit(logo);
        this.motion = this.motionOf(gltf.scene, clip, config);
        this.pendingTriangles = triangleCount(logo);
        this.awaitingFrame = true;
        this.resize();
    }

    // The frame the camera shows: the environment's, or the still logo's box
    // with a margin, the camera over its centre.
    fit(logo) {
        const camera = this.config.camera;
        this.frame = { width: camera.viewWidth, height: camera.viewHeight };
        this.centre.set(0, 0, 0);
        if (!this.options.fit) return;
        const box = logoBox(logo);
        box.getCenter(this.centre);
        const size = box.getSize(new THREE.Vector3());
        this.frame = { width: size.x * kFitMargin, height: size.y * kFitMargin };
        this.stage.camera.position.x = this.centre.x;
        this.stage.camera.position.y = this.centre.y;
    }

    motionOf(root, clip, config) {
        const seconds = this.options.seconds === undefined ? config.seconds : this.options.seconds;
        if (!clip || !(seconds > 0)) return null;
        const motion = new Motion(root, clip, { seconds, loop: this.options.loop });
        if (this.options.autoplay) motion.play();
        return motion;
    }

    tick(time) {
        const elapsed = this.lastTime === null ? 0 : (time - this.lastTime) / 1000;
        this.lastTime = time;
        if (this.motion && this.motion.advance(elapsed)) this.needsFrame = true;
        if (this.needsFrame && this.stage) {
            this.draw();
            this.needsFrame = false;
            this.framesDrawn += 1;
            if (this.awaitingFrame) {
                this.awaitingFrame = false;
                this.trianglesShown = this.pendingTriangles;
                if (this.onShown) this.onShown();
            }
        }
        requestAnimationFrame((next) => this.tick(next));
    }

    draw() {
        applyView(this.view, this.stage.content, this.metresPerPixel, this.centre);
        if (this.shadow) this.shadow.follow();
        this.renderer.render(this.stage.scene, this.stage.camera);
    }

    // A PNG of the logo as it stands, at width x height, on a clear
    // background if asked (needs the `pictures` option).
    async picture(width, height, transparent) {
        const background = this.stage.scene.background;
        this.renderer.setSize(width, height, false);
        this.frameAt(width, height);
        if (transparent) this.stage.scene.background = null;
        this.renderer.setClearColor(0x000000, 0);
        this.draw();
        const blob = await new Promise((resolve) => this.canvas.toBlob(resolve, 'image/png'));
        this.stage.scene.background = background;
        this.resize();
        return new Uint8Array(await blob.arrayBuffer());
    }
}
