#!/usr/bin/env node
// Opens the web page that logo3d-export wrote, from file://, in Debian's
// Chromium (headless, software WebGL) through puppeteer-core, and checks
// what a person would see: the logo where the viewer's own picture of the
// same files has it, in its colours; a drag that turns it; a motion that
// moves it. Every wait is for the page's own signals, never for a time.
// Usage: page-check.js PAGE.html VIEWER.png OUT_DIR
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [pagePath, viewerPicture, outDir] = process.argv.slice(2);
const size = { width: 400, height: 400 };  // the viewer's window
let failures = 0;

function check(ok, what) {
    console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
    if (!ok) failures += 1;
}

// Runs in the browser: the picture's pixels as an ImageData-like object.
async function pixelsOf(page, png) {
    return page.evaluate(async (dataUrl) => {
        const image = new Image();
        image.src = dataUrl;
        await image.decode();
        const canvas = document.createElement('canvas');
        canvas.width = image.width;
        canvas.height = image.height;
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        const data = context.getImageData(0, 0, image.width, image.height);
        return { width: data.width, height: data.height, data: Array.from(data.data) };
    }, 'data:image/png;base64,' + png.toString('base64'));
}

function at(p, x, y) {
    const i = (y * p.width + x) * 4;
    return [p.data[i], p.data[i + 1], p.data[i + 2]];
}

function distance(a, b) {
    return Math.hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The box of every pixel that is not the background (the top left corner's
// colour), and the colours of those pixels in bins of 32 levels.
function analyse(p) {
    const background = at(p, 0, 0);
    const box = { left: p.width, right: -1, top: p.height, bottom: -1 };
    const bins = new Map();
    let count = 0;
    for (let y = 0; y < p.height; ++y)
        for (let x = 0; x < p.width; ++x) {
            const c = at(p, x, y);
            if (distance(c, background) < 12) continue;
            box.left = Math.min(box.left, x);
            box.right = Math.max(box.right, x);
            box.top = Math.min(box.top, y);
            box.bottom = Math.max(box.bottom, y);
            const key = c.map((v) => v >> 5).join(',');
            bins.set(key, (bins.get(key) || 0) + 1);
            ++count;
        }
    return { background, box, bins, count };
}

function mainColours(analysis, n) {
    return [...analysis.bins.entries()].sort((a, b) => b[1] - a[1]).slice(0, n)
        .map(([key]) => key.split(',').map((v) => Number(v) * 32 + 16));
}

function share(analysis, colour) {
    let near = 0;
    for (const [key, n] of analysis.bins) {
        const c = key.split(',').map((v) => Number(v) * 32 + 16);
        if (distance(c, colour) <= 56) near += n;
    }
    return near / Math.max(analysis.count, 1);
}

function changedShare(a, b) {
    let changed = 0;
    for (let i = 0; i < a.data.length; i += 4)
        if (Math.abs(a.data[i] - b.data[i]) + Math.abs(a.data[i + 1] - b.data[i + 1]) +
            Math.abs(a.data[i + 2] - b.data[i + 2]) > 30) ++changed;
    return changed / (a.width * a.height);
}

async function openPage(browser, query) {
    const page = await browser.newPage();
    await page.setViewport({ ...size, deviceScaleFactor: 1 });
    page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
    await page.goto('file://' + path.resolve(pagePath) + query);
    // The page says when its first frame is on the screen.
    await page.waitForFunction(() => document.documentElement.dataset.ready !== undefined, { timeout: 120000 });
    const ready = await page.evaluate(() => document.documentElement.dataset.ready);
    check(ready === 'true', `the page ${query} drew its first frame (${ready})`);
    return page;
}

async function frameAfter(page, framesBefore) {
    await page.waitForFunction((n) => window.logo3d.framesDrawn > n, { timeout: 60000 }, framesBefore);
}

async function main() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'logo3d-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync', '--disable-quic'],
    });
    try {
        // The still logo against the viewer's picture of the same files.
        const still = await openPage(browser, '?seconds=0');
        const stillPng = await still.screenshot({ path: path.join(outDir, 'page.png') });
        const page = analyse(await pixelsOf(still, stillPng));
        const viewer = analyse(await pixelsOf(still, fs.readFileSync(viewerPicture)));
        const width = (b) => b.right - b.left, height = (b) => b.bottom - b.top;
        console.log(`viewer box ${JSON.stringify(viewer.box)}, page box ${JSON.stringify(page.box)}`);
        check(page.count > 0.05 * size.width * size.height, 'the logo is on the page');
        check(Math.abs(width(page.box) - width(viewer.box)) <= 0.1 * width(viewer.box) &&
              Math.abs(height(page.box) - height(viewer.box)) <= 0.1 * height(viewer.box),
              'the logo has the size it has in the viewer, within 10%');
        const centre = (b) => [(b.left + b.right) / 2, (b.top + b.bottom) / 2];
        check(Math.abs(centre(page.box)[0] - centre(viewer.box)[0]) <= 0.1 * width(viewer.box) &&
              Math.abs(centre(page.box)[1] - centre(viewer.box)[1]) <= 0.1 * height(viewer.box),
              'the logo stands where it stands in the viewer, within 10%');
        check(distance(page.background, viewer.background) <= 3, `the background is the environment's colour`);
        // The wall's shade, the band and the letters' gold and white.
        for (const colour of mainColours(viewer, 4))
            check(share(page, colour) >= 0.01, `the page shows the viewer's colour ${colour} ` +
                  `(${(100 * share(page, colour)).toFixed(1)}% of the logo)`);

        // A drag with the left button turns the logo.
        const before = await pixelsOf(still, stillPng);
        const drawn = await still.evaluate(() => window.logo3d.framesDrawn);
        await still.mouse.move(200, 200);
        await still.mouse.down();
        await still.mouse.move(260, 230, { steps: 5 });
        await still.mouse.up();
        await frameAfter(still, drawn);
        const turned = await pixelsOf(still, await still.screenshot({ path: path.join(outDir, 'page-turned.png') }));
        check(changedShare(before, turned) > 0.02, 'a drag turns the logo');
        await still.close();

        // The motion moves the logo between two pictures a second of it apart.
        const playing = await openPage(browser, '');
        const start = await playing.evaluate(() => window.logo3d.playedSeconds);
        const first = await pixelsOf(playing, await playing.screenshot());
        await playing.waitForFunction((t) => window.logo3d.playedSeconds >= t + 1, { timeout: 60000 }, start);
        const second = await pixelsOf(playing, await playing.screenshot({ path: path.join(outDir, 'page-later.png') }));
        check(changedShare(first, second) > 0.01, 'the motion moves the logo');
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

main().then(() => {
    console.log(failures === 0 ? 'the page passed every check' : `${failures} checks failed`);
    process.exit(failures === 0 ? 0 : 1);
}, (error) => {
    console.error(String(error && error.stack ? error.stack : error));
    process.exit(1);
});
