// The page that logo3d-export -o logo.html writes: shows the logo's glTF,
// embedded in the page, in the scene of its environment file (scene.js),
// and lets a visitor turn it without taking the host page's scrolling: the
// wheel and vertical swipes scroll the page around it; a horizontal drag, or
// any drag after a click or tap, turns the logo, and after that click the
// wheel scales it until the pointer leaves. Bundled with three.js into one
// script at build time (or, for a --lite page, with three.js left to a URL).

import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { addLogo, frameCamera, logoBox, makeStage, motionReturns } from './scene.js';

function readPage() {
    const config = JSON.parse(document.getElementById('logo3d-page').textContent);
    const text = atob(document.getElementById('logo3d-model').textContent.trim());
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return { config, model: bytes.buffer };
}

// The exporter's presentation settings, each overridden by its URL parameter:
// ?controls=0 ?autoplay=0 ?fit=1 ?transparent=1 ?loop=1 ?view=X,Y,Z ?seconds=S.
export function settingsOf(config, search) {
    const query = new URLSearchParams(search);
    const flag = (name, fallback) => {
        const asked = query.get(name);
        if (asked === null) return fallback;
        return !(asked === '0' || asked === 'false' || asked === 'no');
    };
    const page = config.page || {};
    let seconds = config.seconds;
    if (query.get('seconds') !== null) {
        const asked = Number(query.get('seconds'));
        if (Number.isFinite(asked) && asked >= 0) seconds = asked;
    }
    let view = page.view || [0, 0, 0];
    if (query.get('view') !== null) {
        const asked = query.get('view').split(',').map(Number);
        if (asked.length === 3 && asked.every(Number.isFinite)) view = asked;
    }
    return {
        controls: flag('controls', page.controls !== false),
        autoplay: flag('autoplay', page.autoplay !== false),
        fit: flag('fit', page.fit === true),
        transparent: flag('transparent', page.transparent === true),
        loop: flag('loop', page.loop === true),
        view,
        seconds,
    };
}

// The view as the viewer keeps it: turns about x, y and z in degrees (applied
// in that order), a scale and a move in pixels.
function firstView(settings) {
    return { rotX: settings.view[0], rotY: settings.view[1], rotZ: settings.view[2], scale: 1, panX: 0, panY: 0 };
}

function applyView(view, content, metresPerPixel, centre) {
    const d = THREE.MathUtils.degToRad;
    content.rotation.set(d(view.rotX), d(view.rotY), d(view.rotZ), 'XYZ');
    content.scale.setScalar(view.scale);
    // Turning about the logo's centre: the centre moved back after the turn.
    const turned = centre.clone().multiplyScalar(-view.scale).applyEuler(content.rotation);
    content.position.set(view.panX * metresPerPixel, -view.panY * metresPerPixel, 0).add(turned).add(centre);
}

function showHint(canvas, text) {
    const hint = document.createElement('div');
    hint.className = 'logo3d-hint';
    hint.textContent = text;
    hint.setAttribute('aria-hidden', 'true');
    canvas.parentNode.appendChild(hint);
    setTimeout(() => hint.classList.add('logo3d-gone'), 3500);
    setTimeout(() => hint.remove(), 4500);
}

// Pointer, wheel and keys. Turning is 360 degrees per page width (about y)
// or height (about x), as in the viewer; the arrow keys turn about z.
function addControls(canvas, view, reset, redraw, play, state) {
    const kTap = 8;  // pixels a press may wander and still be a tap or click
    let drag = null;
    let lastTap = null;
    let hinted = false;
    const engage = (on) => {
        state.engaged = on;
        // Engaged, every gesture on the logo is the logo's; else vertical
        // swipes belong to the page.
        canvas.style.touchAction = on ? 'none' : 'pan-y';
    };
    engage(false);
    const hintOnce = () => {
        if (hinted) return;
        hinted = true;
        showHint(canvas, 'Drag sideways to turn · click, then scroll to zoom · double-click to reset');
    };
    canvas.addEventListener('pointerenter', hintOnce);
    canvas.addEventListener('focus', hintOnce);
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('pointerdown', (event) => {
        drag = { id: event.pointerId, x: event.clientX, y: event.clientY, button: event.button, moved: false,
                 start: { ...view }, touch: event.pointerType !== 'mouse' };
        if (event.pointerType === 'mouse') canvas.setPointerCapture(event.pointerId);
    });
    canvas.addEventListener('pointermove', (event) => {
        if (!drag || drag.id !== event.pointerId) return;
        const dx = event.clientX - drag.x, dy = event.clientY - drag.y;
        if (Math.hypot(dx, dy) > kTap) drag.moved = true;
        if (!drag.moved) return;
        const width = canvas.clientWidth, height = canvas.clientHeight;
        if (drag.button === 0) {
            view.rotY = drag.start.rotY + dx * 360 / width;
            // A finger that has not tapped the logo first turns it about y alone.
            if (!drag.touch || state.engaged) view.rotX = drag.start.rotX + dy * 360 / height;
        } else if (drag.button === 1) {
            view.panX = drag.start.panX + dx;
            view.panY = drag.start.panY - dy;
        } else if (drag.button === 2) {
            view.scale = drag.start.scale * Math.pow(10, dy / 100);
        }
        redraw();
    });
    const end = (event) => {
        if (!drag || drag.id !== event.pointerId) return;
        const tapped = !drag.moved && event.type === 'pointerup';
        drag = null;
        if (!tapped) return;
        const now = performance.now();
        if (lastTap && now - lastTap.time < 400 && Math.hypot(event.clientX - lastTap.x, event.clientY - lastTap.y) < 30) {
            lastTap = null;
            reset();
            return;
        }
        lastTap = { time: now, x: event.clientX, y: event.clientY };
        engage(true);
        canvas.focus({ preventScroll: true });
        play();
    };
    canvas.addEventListener('pointerup', end);
    canvas.addEventListener('pointercancel', end);
    canvas.addEventListener('pointerleave', (event) => {
        if (event.pointerType === 'mouse') engage(false);
    });
    canvas.addEventListener('blur', () => engage(false));
    window.addEventListener('blur', () => engage(false));
    canvas.addEventListener('wheel', (event) => {
        // Not engaged, the wheel scrolls whatever page holds this one.
        if (!state.engaged) return;
        event.preventDefault();
        const step = event.deltaMode === 0 ? event.deltaY / 100 : event.deltaY / 3;
        view.scale *= Math.pow(10, -step / 5);
        redraw();
    }, { passive: false });
    canvas.addEventListener('keydown', (event) => {
        const turns = { ArrowLeft: 3, ArrowRight: -3, ArrowUp: 6, ArrowDown: -6 };
        if (event.key in turns) {
            view.rotZ += turns[event.key];
            redraw();
        } else if (event.key === 'Enter' || event.key === ' ') {
            play();
        } else if (event.key === 'Escape' || event.key === 'Home') {
            reset();
        } else {
            return;
        }
        event.preventDefault();
    });
}

// The still picture stays when the logo cannot be drawn; the note is for
// whoever looks at the page's state.
function fail(message) {
    document.documentElement.dataset.ready = 'still';
    document.documentElement.dataset.problem = message;
}

function start() {
    const { config, model } = readPage();
    const settings = settingsOf(config, window.location.search);
    const reducedMotion = window.matchMedia && window.matchMedia('(prefers-reduced-motion: reduce)').matches;
    const renderer = new THREE.WebGLRenderer({ antialias: true, alpha: settings.transparent });
    renderer.setPixelRatio(window.devicePixelRatio);
    if (settings.transparent) {
        renderer.setClearColor(0x000000, 0);
        document.documentElement.classList.add('logo3d-transparent');
    }
    const canvas = renderer.domElement;
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', config.label || config.title);
    canvas.tabIndex = 0;
    document.getElementById('logo3d-frame').appendChild(canvas);

    const stage = makeStage(config, { transparent: settings.transparent });
    const { scene, camera, content } = stage;
    const state = {
        framesDrawn: 0, playedSeconds: 0, seconds: settings.seconds, engaged: false, playing: false,
        loops: false, reducedMotion,
    };
    window.logo3d = state;
    const view = firstView(settings);
    state.view = view;
    let needsFrame = true;
    const redraw = () => { needsFrame = true; };
    let frame = { width: config.camera.viewWidth, height: config.camera.viewHeight };
    let shown = frame;
    const centre = new THREE.Vector3();
    const resize = () => {
        const width = window.innerWidth, height = window.innerHeight;
        renderer.setSize(width, height);
        shown = frameCamera(camera, config.camera, width, height, frame.width, frame.height);
        state.metresPerPixel = shown.width / width;
        redraw();
    };
    window.addEventListener('resize', resize);
    resize();

    let begin = () => {};
    const play = () => begin();
    const reset = () => {
        Object.assign(view, firstView(settings));
        redraw();
    };
    if (settings.controls) addControls(canvas, view, reset, redraw, play, state);

    new GLTFLoader().parse(model, '', (gltf) => {
        const { logo, shadow, clip } = addLogo(stage, config, gltf);
        if (settings.fit) {
            // The still logo fills the frame but for a margin of a twentieth on each side.
            const box = logoBox(logo);
            box.getCenter(centre);
            const size = box.getSize(new THREE.Vector3());
            frame = { width: size.x * 1.1, height: size.y * 1.1 };
            camera.position.x = centre.x;
            camera.position.y = centre.y;
            resize();
        }

        let mixer = null;
        let played = 0;  // seconds into this run of the motion
        if (clip && settings.seconds > 0) {
            state.loops = settings.loop || motionReturns(clip);
            begin = () => {
                if (state.playing) return;
                mixer = mixer || new THREE.AnimationMixer(gltf.scene);
                const action = mixer.clipAction(clip);
                action.reset();
                action.setLoop(state.loops ? THREE.LoopRepeat : THREE.LoopOnce, Infinity);
                action.clampWhenFinished = true;
                action.play();
                mixer.timeScale = clip.duration / settings.seconds;
                state.playing = true;
                played = 0;
            };
            if (settings.autoplay && !reducedMotion) begin();
        }
        let lastTime = null;
        const draw = (time) => {
            const elapsed = lastTime === null ? 0 : (time - lastTime) / 1000;
            lastTime = time;
            if (mixer && state.playing) {
                // A motion played once ends on its last frame, however late the frame comes.
                const step = state.loops ? elapsed : Math.min(elapsed, settings.seconds - played);
                mixer.update(step);
                played += step;
                state.playedSeconds += step;
                if (!state.loops && played >= settings.seconds) state.playing = false;
                needsFrame = true;
            }
            if (needsFrame) {
                applyView(view, content, state.metresPerPixel, centre);
                if (shadow) shadow.follow();
                renderer.render(scene, camera);
                needsFrame = false;
                state.framesDrawn += 1;
                if (state.framesDrawn === 1) {
                    document.documentElement.classList.add('logo3d-drawn');
                    // Said once the first picture is on the screen, for whoever waits for it.
                    requestAnimationFrame(() => { document.documentElement.dataset.ready = 'true'; });
                }
            }
            requestAnimationFrame(draw);
        };
        requestAnimationFrame(draw);
    }, (error) => fail('The logo cannot be shown: ' + (error && error.message ? error.message : error)));
}

try {
    start();
} catch (error) {
    fail('The logo cannot be shown: ' + error.message);
}
