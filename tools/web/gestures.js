// The arithmetic of turning, moving and scaling a logo with a mouse, a
// finger, a wheel or the keys, as pure functions: a state and an event's
// data in, the next state out, nothing changed in place. controls.js hands
// them the canvas's events and the view draws whatever view comes back, so
// the page and the studio share one set of rules, and node can test them.
//
// The view is the viewer's: turns about x, y and z in degrees (applied in
// that order), a scale, and a move in pixels with y up.

export const kTapSlop = 8;           // pixels a press may wander and still be a tap or click
export const kDoubleTapMs = 400;     // the most time between the two taps of a double tap
export const kDoubleTapSlop = 30;    // the most pixels between them
export const kMinScale = 0.01;       // scaling stops here: the logo stays a visible,
export const kMaxScale = 100;        // invertible size however far a drag goes
const kArrowTurns = { ArrowLeft: 3, ArrowRight: -3, ArrowUp: 6, ArrowDown: -6 };

export function viewOf(turns = [0, 0, 0]) {
    return { rotX: turns[0], rotY: turns[1], rotZ: turns[2], scale: 1, panX: 0, panY: 0 };
}

export function clampScale(scale) {
    return Math.min(kMaxScale, Math.max(kMinScale, scale));
}

// scrollsHost: the logo sits in a page that scrolls; the wheel and vertical
// swipes stay the page's until a tap or click engages the logo, and the
// pointer leaving (or the focus) gives them back.
export function startGestures(home, { scrollsHost = false } = {}) {
    return { home: { ...home }, view: { ...home }, drag: null, lastTap: null, engaged: !scrollsHost, scrollsHost };
}

export function reset(state) {
    return { ...state, view: { ...state.home }, lastTap: null };
}

export function engage(state, on) {
    return { ...state, engaged: on || !state.scrollsHost };
}

// A press of a button or a finger: { id, x, y, button, touch }. A second
// press starts over from the view as it is, as the viewer does.
export function press(state, pointer) {
    const { id, x, y, button, touch } = pointer;
    return { ...state, drag: { id, x, y, button, touch, moved: false, start: { ...state.view } } };
}

// 360 degrees per width (about y) or height (about x), as in the viewer.
function turn(delta, side) {
    return delta * 360 / (side > 0 ? side : 1);
}

// Always from where the drag started, never step by step, so that a drag
// that comes back to its start gives back the view exactly.
function dragged(state, drag, dx, dy, size) {
    const view = { ...state.view };
    const start = drag.start;
    if (drag.button === 0) {
        view.rotY = start.rotY + turn(dx, size.width);
        // A finger that has not engaged the logo turns it about y alone.
        if (!drag.touch || state.engaged) view.rotX = start.rotX + turn(dy, size.height);
    } else if (drag.button === 1) {
        view.panX = start.panX + dx;
        view.panY = start.panY - dy;
    } else if (drag.button === 2) {
        view.scale = clampScale(start.scale * Math.pow(10, dy / 100));
    }
    return view;
}

// A move of the pressed pointer to { id, x, y } over a canvas of `size`
// ({ width, height } in pixels).
export function move(state, pointer, size) {
    const drag = state.drag;
    if (!drag || drag.id !== pointer.id || drag.hosts) return state;
    const dx = pointer.x - drag.x, dy = pointer.y - drag.y;
    if (!drag.moved && Math.hypot(dx, dy) <= kTapSlop) return state;
    // A finger going up or down over a logo it has not engaged scrolls the
    // host: the whole swipe is the page's, however it wanders after.
    if (!drag.moved && drag.touch && !state.engaged && Math.abs(dy) > Math.abs(dx))
        return { ...state, drag: { ...drag, moved: true, hosts: true } };
    return { ...state, drag: { ...drag, moved: true }, view: dragged(state, drag, dx, dy, size) };
}

// The pointer lifted at { id, x, y } at `now` milliseconds. A press that
// did not move is a tap: a second one soon after and near the first goes
// back to the first view; a single one engages the logo (tapped: the view
// takes the focus and plays the motion).
export function release(state, pointer, now) {
    const drag = state.drag;
    if (!drag || drag.id !== pointer.id) return { state, tapped: false };
    const done = { ...state, drag: null };
    if (drag.moved) return { state: done, tapped: false };
    const last = state.lastTap;
    if (last && now - last.time < kDoubleTapMs && Math.hypot(pointer.x - last.x, pointer.y - last.y) < kDoubleTapSlop)
        return { state: reset(done), tapped: false };
    return { state: { ...done, engaged: true, lastTap: { time: now, x: pointer.x, y: pointer.y } }, tapped: true };
}

// The browser took the pointer (a scroll began, the window lost it): never a tap.
export function cancel(state, pointer) {
    return state.drag && state.drag.id === pointer.id ? { ...state, drag: null } : state;
}

// A wheel event's { deltaY, deltaMode } (0: pixels, else lines or pages);
// null when the wheel is the host page's. A notch of about 100 pixels or 3
// lines scales by a fifth of a decade.
export function wheel(state, { deltaY, deltaMode }) {
    if (!state.engaged) return null;
    const step = deltaMode === 0 ? deltaY / 100 : deltaY / 3;
    return { ...state, view: { ...state.view, scale: clampScale(state.view.scale * Math.pow(10, -step / 5)) } };
}

// A key on the focused logo: the arrows turn it about z as in the viewer,
// Enter and space play the motion, Esc and Home go back to the first view;
// null for any other key, which stays the page's.
export function key(state, name) {
    if (name in kArrowTurns)
        return { state: { ...state, view: { ...state.view, rotZ: state.view.rotZ + kArrowTurns[name] } }, play: false };
    if (name === 'Enter' || name === ' ') return { state, play: true };
    if (name === 'Escape' || name === 'Home') return { state: reset(state), play: false };
    return null;
}

// The view's move in the scene's units (y up, as the pixels' panY).
export function panOffset(view, unitsPerPixel) {
    return [view.panX * unitsPerPixel, view.panY * unitsPerPixel];
}
