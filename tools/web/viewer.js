// The page that logo3d-export -o logo.html writes: reads the logo's glTF and
// settings embedded in the page, lets the URL's parameters override the
// settings, and shows the logo in a LogoView that leaves the host page its
// scrolling (the wheel and vertical swipes) until the logo is clicked or
// tapped. The still picture in the page stays when the logo cannot be drawn.
// Bundled with three.js into one script at build time (or, for a --lite
// page, with three.js left to a URL).

import { LogoView } from './logo-view.js';

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

// The still picture stays when the logo cannot be drawn; the note is for
// whoever looks at the page's state.
function fail(message) {
    document.documentElement.dataset.ready = 'still';
    document.documentElement.dataset.problem = message;
}

// What scripts and tests read to wait for the picture itself.
function handleOf(view, settings, reducedMotion) {
    return {
        seconds: settings.seconds,
        reducedMotion,
        get framesDrawn() { return view.framesDrawn; },
        get playedSeconds() { return view.playedSeconds; },
        get playing() { return view.playing; },
        get loops() { return view.loops; },
        get engaged() { return view.engaged; },
        get view() { return view.view; },
        get metresPerPixel() { return view.metresPerPixel; },
    };
}

function start() {
    const { config, model } = readPage();
    const settings = settingsOf(config, window.location.search);
    const reducedMotion = Boolean(window.matchMedia && window.matchMedia('(prefers-reduced-motion: reduce)').matches);
    const view = new LogoView(document.getElementById('logo3d-frame'), {
        controls: settings.controls, scrollsHost: true, transparent: settings.transparent, view: settings.view,
        fit: settings.fit, seconds: settings.seconds, loop: settings.loop, autoplay: settings.autoplay && !reducedMotion,
        label: config.label || config.title,
        hint: 'Drag sideways to turn · click, then scroll to zoom · double-click to reset',
    });
    // Only once the logo can be drawn: the still picture keeps the page's background.
    if (settings.transparent) document.documentElement.classList.add('logo3d-transparent');
    window.logo3d = handleOf(view, settings, reducedMotion);
    view.onShown = () => {
        document.documentElement.classList.add('logo3d-drawn');
        // Said once the first picture is on the screen, for whoever waits for it.
        requestAnimationFrame(() => { document.documentElement.dataset.ready = 'true'; });
    };
    view.show(model, config).catch((error) => fail('The logo cannot be shown: ' + (error && error.message ? error.message : error)));
}

try {
    start();
} catch (error) {
    fail('The logo cannot be shown: ' + error.message);
}
