// The gestures' arithmetic without a browser: sequences of pointer, wheel
// and key events, as a page or the studio receives them, against the view
// and the decisions (a tap, the host's wheel, a key left alone) they must give.
import test from 'node:test';
import assert from 'node:assert/strict';
import * as g from '../../tools/web/gestures.js';

const size = { width: 400, height: 200 };
const page = { scrollsHost: true };
const studio = { scrollsHost: false };

function pointer(x, y, { button = 0, touch = false } = {}) {
    return { id: touch ? 2 : 1, x, y, button, touch };
}

// A press at `from`, moves in five steps to `to`, a release there.
function drag(from, to, how = {}) {
    const steps = [['down', pointer(...from, how)]];
    for (let k = 1; k <= 5; ++k)
        steps.push(['move', pointer(from[0] + (to[0] - from[0]) * k / 5, from[1] + (to[1] - from[1]) * k / 5, how)]);
    return [...steps, ['up', pointer(...to, how), how.at || 0]];
}

function tap(x, y, at, how = {}) {
    return [['down', pointer(x, y, how)], ['up', pointer(x, y, how), at]];
}

function frozen(value) {
    if (value && typeof value === 'object') Object.values(Object.freeze(value)).forEach(frozen);
    return value;
}

// Every state is frozen before it is handed on: a function that changed its
// input in place would throw.
function run(steps, options) {
    let state = frozen(g.startGestures(g.viewOf(), options));
    const said = { taps: 0, plays: 0, hostWheels: 0, hostKeys: 0 };
    const handlers = {
        down: (p) => g.press(state, p),
        move: (p) => g.move(state, p, size),
        up: (p, at) => { const r = g.release(state, p, at); said.taps += r.tapped; return r.state; },
        cancel: (p) => g.cancel(state, p),
        leave: () => g.engage(state, false),
        wheel: (deltaY, deltaMode) => g.wheel(state, { deltaY, deltaMode }) || (said.hostWheels++, state),
        key: (name) => { const r = g.key(state, name); if (!r) said.hostKeys++; else said.plays += r.play; return r ? r.state : state; },
    };
    for (const [kind, ...args] of steps) state = frozen(handlers[kind](...args));
    return { ...state.view, engaged: state.engaged, ...said };
}

const turned = drag([100, 100], [200, 100]);  // rotY 90
const notches = (n, deltaY = 100, mode = 0) => Array.from({ length: n }, () => ['wheel', deltaY, mode]);
const cases = [
    ['a press that wanders within the slop is a tap, not a drag', page,
        [['down', pointer(100, 100)], ['move', pointer(105, 104)], ['up', pointer(105, 104), 0]],
        { rotX: 0, rotY: 0, taps: 1, engaged: true }],
    ['a drag turns 360 degrees per width (about y) and height (about x)', studio,
        drag([100, 100], [200, 150]), { rotY: 90, rotX: 90, taps: 0 }],
    ['a drag that comes back to its start gives back the view exactly', studio,
        [['down', pointer(100, 100)], ['move', pointer(313, 171)], ['move', pointer(100, 100)], ['up', pointer(100, 100), 0]],
        { rotX: 0, rotY: 0, taps: 0 }],
    ['a double tap goes back to the first view', studio,
        [...turned, ...tap(200, 100, 1000), ...tap(202, 101, 1300)], { rotY: 0, taps: 1 }],
    ['two taps half a second apart leave the view', studio,
        [...turned, ...tap(200, 100, 1000), ...tap(200, 100, 1500)], { rotY: 90, taps: 2 }],
    ['two taps 40 pixels apart leave the view', studio,
        [...turned, ...tap(200, 100, 1000), ...tap(240, 100, 1100)], { rotY: 90, taps: 2 }],
    ['a vertical swipe before engaging is the page\'s, however it wanders', page,
        drag([200, 150], [260, 20], { touch: true }), { rotX: 0, rotY: 0, engaged: false }],
    ['a sideways swipe before engaging turns about y alone', page,
        drag([300, 100], [100, 140], { touch: true }), { rotY: -180, rotX: 0 }],
    ['a tapped logo turns under a finger about x too', page,
        [...tap(100, 100, 0, { touch: true }), ...drag([100, 100], [100, 150], { touch: true, at: 2000 })], { rotX: 90 }],
    ['a mouse turns an unengaged logo freely', page, drag([100, 100], [100, 150]), { rotX: 90, engaged: false }],
    ['the wheel is the page\'s until a click, then scales a fifth of a decade a notch', page,
        [...notches(1), ...tap(100, 100, 0), ...notches(1)], { hostWheels: 1, scale: Math.pow(10, -0.2) }],
    ['three lines of wheel are a notch of 100 pixels', studio, notches(1, 3, 1), { scale: Math.pow(10, -0.2) }],
    ['the pointer leaving gives the wheel back to the page', page,
        [...tap(100, 100, 0), ['leave'], ...notches(1)], { hostWheels: 1, scale: 1, engaged: false }],
    ['the studio keeps the wheel when the pointer leaves', studio, [['leave'], ...notches(1, -100)],
        { hostWheels: 0, scale: Math.pow(10, 0.2) }],
    ['a right drag scales ten times per 100 pixels down', studio, drag([100, 50], [100, 150], { button: 2 }), { scale: 10 }],
    ['scaling stops at its bounds', studio,
        [...drag([0, 0], [0, 1000], { button: 2 }), ...notches(3, -10000)], { scale: g.kMaxScale }],
    ['scaling down stops at its bounds', studio, [...notches(40), ...drag([0, 900], [0, 0], { button: 2 })],
        { scale: g.kMinScale }],
    ['a middle drag moves the logo, y up', studio, drag([100, 100], [130, 80], { button: 1 }), { panX: 30, panY: 20 }],
    ['the arrows turn about z, Enter plays, other keys stay the page\'s', page,
        [['key', 'ArrowLeft'], ['key', 'ArrowUp'], ['key', 'Enter'], ['key', 'x']], { rotZ: 9, plays: 1, hostKeys: 1 }],
    ['Esc goes back to the first view', studio, [...turned, ['key', 'ArrowDown'], ['key', 'Escape']], { rotY: 0, rotZ: 0 }],
    ['a press the browser takes back is not a tap', page,
        [['down', pointer(100, 100, { touch: true })], ['cancel', pointer(100, 100, { touch: true })]], { taps: 0, engaged: false }],
];

for (const [name, options, steps, expected] of cases) {
    test(name, () => {
        const got = run(steps, options);
        for (const [field, value] of Object.entries(expected))
            assert.ok(Math.abs(got[field] - value) < 1e-9, `${field}: ${got[field]}, expected ${value}`);
    });
}

test('the move in the scene follows the pixels, y up', () => {
    assert.deepEqual(g.panOffset({ ...g.viewOf(), panX: 30, panY: 20 }, 0.5), [15, 10]);
});
