// The page that logo3d-export -o logo.html writes: shows the logo's glTF,
// embedded in the page, with the scene of its environment file; turns,
// moves and scales it with the mouse as the viewer does, and plays the
// whole-logo motion in a loop. Bundled with three.js into one classic
// script at build time, so the page needs nothing from the network.

import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { OrbitControls } from 'three/examples/jsm/controls/OrbitControls.js';

// The viewer's lights reach a white diffuse surface at full strength; three.js
// divides the light of a matt surface by pi.
const kLightScale = Math.PI;

function readPage() {
    const config = JSON.parse(document.getElementById('logo3d-page').textContent);
    const text = atob(document.getElementById('logo3d-model').textContent.trim());
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return { config, model: bytes.buffer };
}

// ?seconds=3 plays the motion once every three seconds; 0 holds the logo still.
function loopSeconds(config) {
    const asked = new URLSearchParams(window.location.search).get('seconds');
    const seconds = asked === null ? config.seconds : Number(asked);
    return Number.isFinite(seconds) && seconds >= 0 ? seconds : config.seconds;
}

function colour(rgb) {
    return new THREE.Color(rgb[0], rgb[1], rgb[2]);
}

function makeCamera(view) {
    const camera = view.kind === 'perspective'
        ? new THREE.PerspectiveCamera(45, 1, view.near, view.far)
        : new THREE.OrthographicCamera(-1, 1, 1, -1, view.near, view.far);
    camera.position.set(0, 0, view.distance);
    camera.lookAt(0, 0, 0);
    return camera;
}

// The viewer's first frame shows a window of viewWidth x viewHeight around
// the logo: the same rectangle, fitted into the page.
function frameCamera(camera, view, width, height) {
    const aspect = width / height;
    let w = view.viewWidth;
    let h = view.viewHeight;
    if (w / h < aspect) w = h * aspect;
    else h = w / aspect;
    if (camera.isPerspectiveCamera) {
        camera.fov = THREE.MathUtils.radToDeg(2 * Math.atan(h / 2 / view.distance));
        camera.aspect = aspect;
    } else {
        camera.left = -w / 2;
        camera.right = w / 2;
        camera.top = h / 2;
        camera.bottom = -h / 2;
    }
    camera.updateProjectionMatrix();
}

// The lights sit in the eye's space, as in the viewer: children of the camera.
function addLights(config, camera) {
    camera.add(new THREE.AmbientLight(colour(config.ambient), kLightScale));
    for (const light of config.lights) {
        let made;
        if (light.kind === 'directional') {
            made = new THREE.DirectionalLight(colour(light.colour), kLightScale);
        } else if (light.kind === 'spot') {
            made = new THREE.SpotLight(colour(light.colour), kLightScale, 0, THREE.MathUtils.degToRad(light.angle), 0,
                light.decay);
        } else {
            made = new THREE.PointLight(colour(light.colour), kLightScale, 0, light.decay);
        }
        made.position.fromArray(light.position);
        if (made.target) {
            made.target.position.fromArray(light.target);
            camera.add(made.target);
        }
        camera.add(made);
    }
}

function addFog(config, scene) {
    const fog = config.fog;
    if (!fog) return;
    scene.fog = fog.kind === 'linear' ? new THREE.Fog(colour(fog.colour), fog.near, fog.far)
                                      : new THREE.FogExp2(colour(fog.colour), fog.density);
}

// The shadow is the logo flattened along the light onto the wall: the logo's
// meshes again, in the shadow's colour, under the flattening matrix times
// wherever the motion has put the logo.
function makeShadow(shadow, logo) {
    const flatten = new THREE.Matrix4().fromArray(shadow.matrix);
    const material = new THREE.MeshBasicMaterial({
        color: colour(shadow.colour),
        transparent: shadow.colour[3] < 1,
        opacity: shadow.colour[3],
    });
    const root = new THREE.Group();
    logo.traverse((part) => {
        if (!part.isMesh) return;
        const mesh = new THREE.Mesh(part.geometry, material);
        mesh.frustumCulled = false;  // its bounds are the unflattened logo's
        root.add(mesh);
    });
    root.matrixAutoUpdate = false;
    return {
        root,
        follow() {
            root.matrix.multiplyMatrices(flatten, logo.matrix);
            root.matrixWorldNeedsUpdate = true;
        },
    };
}

// Left drag turns and middle drag moves (the orbit controls), right drag
// scales by ten for every hundred pixels down, as the viewer does, and so
// does the wheel; a double click goes back to the first view.
function addMouse(camera, canvas, content, redraw) {
    const controls = new OrbitControls(camera, canvas);
    controls.mouseButtons = { LEFT: THREE.MOUSE.ROTATE, MIDDLE: THREE.MOUSE.PAN, RIGHT: null };
    controls.enableZoom = false;
    controls.screenSpacePanning = true;
    controls.addEventListener('change', redraw);
    controls.saveState();

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

function fail(message) {
    document.documentElement.dataset.ready = 'error';
    const note = document.createElement('p');
    note.className = 'logo3d-error';
    note.textContent = message;
    document.body.appendChild(note);
}

function start() {
    const { config, model } = readPage();
    THREE.ColorManagement.enabled = false;
    const renderer = new THREE.WebGLRenderer({ antialias: true });
    // The viewer's colours are the screen's own values: no conversion.
    renderer.outputColorSpace = THREE.LinearSRGBColorSpace;
    renderer.setPixelRatio(window.devicePixelRatio);
    document.body.appendChild(renderer.domElement);

    const scene = new THREE.Scene();
    scene.background = colour(config.background);
    addFog(config, scene);
    const camera = makeCamera(config.camera);
    scene.add(camera);
    addLights(config, camera);
    const content = new THREE.Group();
    scene.add(content);

    const state = { framesDrawn: 0, playedSeconds: 0, seconds: loopSeconds(config) };
    window.logo3d = state;
    let needsFrame = true;
    const redraw = () => { needsFrame = true; };
    const resize = () => {
        renderer.setSize(window.innerWidth, window.innerHeight);
        frameCamera(camera, config.camera, window.innerWidth, window.innerHeight);
        redraw();
    };
    window.addEventListener('resize', resize);
    resize();
    addMouse(camera, renderer.domElement, content, redraw);

    new GLTFLoader().parse(model, '', (gltf) => {
        content.add(gltf.scene);
        const logo = gltf.scene.getObjectByName('logo') || gltf.scene;
        const shadow = config.shadow ? makeShadow(config.shadow, logo) : null;
        if (shadow) content.add(shadow.root);

        let mixer = null;
        const clip = gltf.animations[0];
        if (clip && state.seconds > 0) {
            // Each frame of the motion has its own slot of the loop, the last one too.
            clip.duration = config.seconds;
            mixer = new THREE.AnimationMixer(gltf.scene);
            mixer.clipAction(clip).play();
            mixer.timeScale = config.seconds / state.seconds;
        }
        const clock = new THREE.Clock();
        const frame = () => {
            const elapsed = clock.getDelta();
            if (mixer) {
                mixer.update(elapsed);
                state.playedSeconds += elapsed;
                needsFrame = true;
            }
            if (needsFrame) {
                if (shadow) {
                    logo.updateMatrix();
                    shadow.follow();
                }
                renderer.render(scene, camera);
                needsFrame = false;
                state.framesDrawn += 1;
                // Said once the first picture is on the screen, for whoever waits for it.
                if (state.framesDrawn === 1) requestAnimationFrame(() => { document.documentElement.dataset.ready = 'true'; });
            }
            requestAnimationFrame(frame);
        };
        requestAnimationFrame(frame);
    }, (error) => fail('The logo cannot be shown: ' + (error && error.message ? error.message : error)));
}

try {
    start();
} catch (error) {
    fail('The logo cannot be shown: ' + error.message);
}
