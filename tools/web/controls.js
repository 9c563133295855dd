// The canvas's pointer, wheel, key and focus events handed to the gestures'
// arithmetic (gestures.js). `target` keeps the gestures' state and acts on
// what comes back: target.gestures (the state), target.update(next), target.play().

import { cancel, engage, key, move, press, release, wheel } from './gestures.js';

function pointerOf(event) {
    return { id: event.pointerId, x: event.clientX, y: event.clientY, button: event.button,
             touch: event.pointerType !== 'mouse' };
}

// A small line of help, once, when the pointer or the focus first comes to the logo.
function addHint(canvas, text) {
    let shown = false;
    const show = () => {
        if (shown) return;
        shown = true;
        const hint = document.createElement('div');
        hint.className = 'logo3d-hint';
        hint.textContent = text;
        hint.setAttribute('aria-hidden', 'true');
        canvas.parentNode.appendChild(hint);
        setTimeout(() => hint.classList.add('logo3d-gone'), 3500);
        setTimeout(() => hint.remove(), 4500);
    };
    canvas.addEventListener('pointerenter', show);
    canvas.addEventListener('focus', show);
}

function addPointer(canvas, target) {
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('pointerdown', (event) => {
        target.update(press(target.gestures, pointerOf(event)));
        if (event.pointerType === 'mouse') canvas.setPointerCapture(event.pointerId);
    });
    canvas.addEventListener('pointermove', (event) => {
        const size = { width: canvas.clientWidth, height: canvas.clientHeight };
        target.update(move(target.gestures, pointerOf(event), size));
    });
    canvas.addEventListener('pointerup', (event) => {
        const { state, tapped } = release(target.gestures, pointerOf(event), performance.now());
        target.update(state);
        if (!tapped) return;
        canvas.focus({ preventScroll: true });
        target.play();
    });
    canvas.addEventListener('pointercancel', (event) => target.update(cancel(target.gestures, pointerOf(event))));
}

function addWheelAndKeys(canvas, target) {
    canvas.addEventListener('wheel', (event) => {
        const next = wheel(target.gestures, event);
        // Not the logo's: the wheel scrolls whatever page holds it.
        if (!next) return;
        event.preventDefault();
        target.update(next);
    }, { passive: false });
    canvas.addEventListener('keydown', (event) => {
        const done = key(target.gestures, event.key);
        if (!done) return;
        event.preventDefault();
        target.update(done.state);
        if (done.play) target.play();
    });
}

// The logo gives the wheel and vertical swipes back to the host page when
// the mouse leaves it or it loses the focus (when it sits in one).
function addLeaving(canvas, target) {
    const leave = () => target.update(engage(target.gestures, false));
    canvas.addEventListener('pointerleave', (event) => {
        if (event.pointerType === 'mouse') leave();
    });
    canvas.addEventListener('blur', leave);
    window.addEventListener('blur', leave);
}

export function addControls(canvas, target, { hint = null } = {}) {
    if (hint) addHint(canvas, hint);
    addPointer(canvas, target);
    addWheelAndKeys(canvas, target);
    addLeaving(canvas, target);
}
