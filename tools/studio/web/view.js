// The studio's picture: the logo in the exported page's own scene
// (tools/web/scene.js: lights in the eye's space, fog, the environment
// file's projection, the flattened shadow, the colours), with the viewer's
// mouse, the whole-logo motion playing, and fed one model after another:
// each new build replaces the logo and keeps the camera where the user left it.

import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { OrbitControls } from 'three/examples/jsm/controls/OrbitControls.js';
import { addFog, addLights, addLogo, frameCamera, makeCamera, srgb } from '../../web/scene.js';

// Left drag turns, middle drag moves, right drag and the wheel scale (ten
// times for every hundred pixels), a double click goes back to the first view.
function addMouse(camera, canvas, content, redraw) {
    const controls = new OrbitControls(camera, canvas);
    controls.mouseButtons = { LEFT: THREE.MOUSE.ROTATE, MIDDLE: THREE.MOUSE.PAN, RIGHT: null };
    controls.enableZoom = false;
    controls.screenSpacePanning = true;
    controls.addEventListener('change', redraw);
    let scaling = null;
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('pointerdown', (event) => {
        if (event.button !== 2) return;
        scaling = { y: event.clientY, scale: content.scale.x };
        canvas.setPointerCapture(event.pointerId);
    });
    canvas.addEventListener('pointermove', (event) => {
        if (!scaling) return;
        content.scale.setScalar(scaling.scale * Math.pow(10, (event.clientY - scaling.y) / 100));
        redraw();
    });
    canvas.addEventListener('pointerup', (event) => {
        if (event.button === 2) scaling = null;
    });
    canvas.addEventListener('wheel', (event) => {
        event.preventDefault();
        const step = event.deltaMode === 0 ? event.deltaY / 100 : event.deltaY / 3;
        content.scale.multiplyScalar(Math.pow(10, -step / 5));
        redraw();
    }, { passive: false });
    canvas.addEventListener('dblclick', () => {
        controls.reset();
        content.scale.setScalar(1);
        redraw();
    });
    return controls;
}

function disposeTree(root) {
    root.traverse((part) => {
        if (part.geometry) part.geometry.dispose();
        if (part.material) [].concat(part.material).forEach((m) => m.dispose());
    });
}

export class LogoView {
    constructor(container) {
        this.renderer = new THREE.WebGLRenderer({ antialias: true, alpha: true, preserveDrawingBuffer: true });
        this.renderer.setPixelRatio(window.devicePixelRatio);
        container.appendChild(this.renderer.domElement);
        this.container = container;
        this.scene = new THREE.Scene();
        this.content = new THREE.Group();
        this.scene.add(this.content);
        this.lights = new THREE.Group();
        this.framesDrawn = 0;
        this.trianglesShown = 0;
        this.needsFrame = true;
        this.seconds = 3;
        this.clock = new THREE.Clock();
        new ResizeObserver(() => this.resize()).observe(container);
        this.loop();
    }

    redraw() {
        this.needsFrame = true;
    }

    resize() {
        const width = Math.max(this.container.clientWidth, 1);
        const height = Math.max(this.container.clientHeight, 1);
        this.renderer.setSize(width, height);
        if (this.camera) frameCamera(this.camera, this.config.camera, width, height);
        this.redraw();
    }

    // The environment's part of the page's settings: background, fog,
    // lights; the camera only when its projection changed, so that a
    // turned logo stays turned.
    applyConfig(config) {
        const old = this.config;
        this.config = config;
        this.scene.background = srgb(config.background);
        this.scene.fog = null;
        addFog(config, this.scene);
        if (!old || JSON.stringify(old.camera) !== JSON.stringify(config.camera)) {
            if (this.camera) this.scene.remove(this.camera);
            if (this.controls) this.controls.dispose();
            this.camera = makeCamera(config.camera);
            this.scene.add(this.camera);
            this.camera.add(this.lights);
            this.controls = addMouse(this.camera, this.renderer.domElement, this.content, () => this.redraw());
            this.resize();
        }
        this.lights.clear();
        addLights(config, this.lights);
    }

    // Shows a new model (the .glb's bytes) with its page settings; resolves
    // once it is in the scene.
    show(glb, config) {
        return new Promise((resolve, reject) => {
            new GLTFLoader().parse(glb.buffer.slice(glb.byteOffset, glb.byteOffset + glb.byteLength), '', (gltf) => {
                this.applyConfig(config);
                const old = [...this.content.children];
                old.forEach((child) => { this.content.remove(child); disposeTree(child); });
                const { logo, shadow, clip } = addLogo(this, config, gltf);
                this.shadow = shadow;
                this.logo = logo;
                this.mixer = null;
                if (clip && config.seconds > 0) {
                    clip.duration = config.seconds;
                    this.mixer = new THREE.AnimationMixer(gltf.scene);
                    this.mixer.clipAction(clip).play();
                }
                let triangles = 0;
                logo.traverse((part) => {
                    if (part.isMesh) triangles += (part.geometry.index ? part.geometry.index.count : part.geometry.attributes.position.count) / 3;
                });
                this.pendingTriangles = triangles;
                this.redraw();
                resolve();
            }, reject);
        });
    }

    draw() {
        if (this.shadow) this.shadow.follow();
        this.renderer.render(this.scene, this.camera);
    }

    loop() {
        const elapsed = this.clock.getDelta();
        if (this.mixer) {
            this.mixer.update(elapsed);
            this.needsFrame = true;
        }
        if (this.needsFrame && this.camera) {
            this.draw();
            this.needsFrame = false;
            this.framesDrawn += 1;
            if (this.pendingTriangles !== undefined) {
                this.trianglesShown = this.pendingTriangles;
                this.pendingTriangles = undefined;
                if (this.onShown) this.onShown();
            }
        }
        requestAnimationFrame(() => this.loop());
    }

    // A PNG of the picture at width x height, on a transparent background if
    // asked.
    async picture(width, height, transparent) {
        const size = new THREE.Vector2();
        this.renderer.getSize(size);
        const background = this.scene.background;
        this.renderer.setSize(width, height, false);
        frameCamera(this.camera, this.config.camera, width, height);
        if (transparent) this.scene.background = null;
        this.renderer.setClearColor(0x000000, 0);
        this.draw();
        const blob = await new Promise((resolve) => this.renderer.domElement.toBlob(resolve, 'image/png'));
        this.scene.background = background;
        this.renderer.setSize(size.x, size.y);
        frameCamera(this.camera, this.config.camera, size.x, size.y);
        this.redraw();
        return new Uint8Array(await blob.arrayBuffer());
    }
}
