#!/usr/bin/env node
// Opens the web page that logo3d-export wrote in Debian's Chromium
// (headless, software WebGL) through puppeteer-core, and checks what a
// person would see: the logo where the viewer's own picture of the same
// files has it, in its colours (also in a plain three.js page that loads the
// .glb); a drag that turns it; a motion that moves it and stops; the page in
// an iframe of a tall page, which still scrolls; reduced motion; its name
// for screen readers; its still picture without WebGL or JavaScript; the
// lite page. Every wait is for the page's own signals, never for a time.
// The snippets for the .glb (three.js, <model-viewer>) of the web page's
// manual (docs/web.md) run as they stand, their CDN's files served from
// node_modules.
// Usage: page-check.js DIR THREE_BUILD_DIR WEB_MANUAL, DIR holding logo.html,
// lite.html, logo.glb, plain.glb (no shadow), plain.html, plain.js,
// viewer.png and viewer-wide.png (600 x 300).
'use strict';

const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [outDir, threeBuild, manual] = process.argv.slice(2);
const nodeModules = path.join(threeBuild, '..', '..');
const viewerPicture = path.join(outDir, 'viewer.png');
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

// Serves DIR, and three.js's package (build/, examples/) for the lite page, on a free local port.
function serve() {
    const types = { '.html': 'text/html', '.js': 'text/javascript', '.json': 'application/json',
                    '.glb': 'model/gltf-binary', '.png': 'image/png' };
    const server = http.createServer((request, response) => {
        const asked = path.normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
        const name = path.basename(asked);
        const file = [path.join(outDir, name), path.join(threeBuild, '..', asked)].find((f) => fs.existsSync(f));
        if (!file) {
            response.writeHead(404);
            response.end();
            return;
        }
        response.writeHead(200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' });
        fs.createReadStream(file).pipe(response);
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

let origin = '';

async function openPage(browser, query, { name = 'logo.html', before = null } = {}) {
    const page = await browser.newPage();
    await page.setViewport({ ...size, deviceScaleFactor: 1 });
    page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
    if (before) await before(page);
    await page.goto(`${origin}/${name}${query}`);
    // The page says when its first frame is on the screen.
    await page.waitForFunction(() => document.documentElement.dataset.ready !== undefined, { timeout: 120000 });
    const ready = await page.evaluate(() => document.documentElement.dataset.ready);
    check(ready === 'true', `the page ${name}${query} drew its first frame (${ready})`);
    return page;
}

async function frameAfter(page, framesBefore) {
    await page.waitForFunction((n) => window.logo3d.framesDrawn > n, { timeout: 60000 }, framesBefore);
}

// Over the pixels of each of the viewer's main colours (bins of 32 levels):
// the mean colour there in the viewer and in the other picture.
function regionMeans(viewerPixels, viewer, other, n) {
    const background = viewer.background;
    return mainColours(viewer, n).map((bin) => {
        const sums = [[0, 0, 0], [0, 0, 0]];
        let count = 0;
        for (let y = 0; y < viewerPixels.height; ++y)
            for (let x = 0; x < viewerPixels.width; ++x) {
                const c = at(viewerPixels, x, y);
                if (distance(c, background) < 12 || c.some((v, k) => (v >> 5) !== (bin[k] >> 5))) continue;
                const o = at(other, x, y);
                for (let k = 0; k < 3; ++k) {
                    sums[0][k] += c[k];
                    sums[1][k] += o[k];
                }
                ++count;
            }
        return sums.map((sum) => sum.map((v) => Math.round(v / Math.max(count, 1))));
    });
}

async function framesPass(page, n) {
    await page.evaluate((count) => new Promise((resolve) => {
        const step = (left) => (left === 0 ? resolve() : requestAnimationFrame(() => step(left - 1)));
        step(count);
    }), n);
}

// The page against the viewer's picture: size, place, background, colours; a drag; the motion.
async function checkAgainstTheViewer(browser, viewerPng) {
    const still = await openPage(browser, '?seconds=0');
    const stillPng = await still.screenshot({ path: path.join(outDir, 'page.png') });
    const page = analyse(await pixelsOf(still, stillPng));
    const viewer = analyse(await pixelsOf(still, viewerPng));
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
    // The arrow keys turn it about z, as in the viewer.
    await still.focus('canvas');
    await still.keyboard.press('ArrowLeft');
    await still.keyboard.press('ArrowUp');
    const rotZ = await still.evaluate(() => window.logo3d.view.rotZ);
    check(rotZ === 9, `Left and Up turn the logo by 3 and 6 degrees about z (${rotZ})`);
    const label = await still.evaluate(() => {
        const canvas = document.querySelector('canvas');
        return [canvas.getAttribute('role'), canvas.getAttribute('aria-label'), canvas.tabIndex];
    });
    check(label[0] === 'img' && /Solid Type/.test(label[1]) && label[2] === 0,
          `the canvas is an image named after the logo's text, reached by the keyboard (${label})`);
    await still.close();

    // The motion moves the logo between two pictures a second of it apart,
    // and, since the default logo's motion ends elsewhere than it starts, stops.
    const playing = await openPage(browser, '?seconds=3');
    const start = await playing.evaluate(() => window.logo3d.playedSeconds);
    const first = await pixelsOf(playing, await playing.screenshot());
    await playing.waitForFunction((t) => window.logo3d.playedSeconds >= t + 1, { timeout: 60000 }, start);
    const second = await pixelsOf(playing, await playing.screenshot({ path: path.join(outDir, 'page-later.png') }));
    check(changedShare(first, second) > 0.01, 'the motion moves the logo');
    await playing.waitForFunction(() => !window.logo3d.playing, { timeout: 60000 });
    const held = await playing.evaluate(() => [window.logo3d.loops, window.logo3d.playedSeconds]);
    check(held[0] === false && Math.abs(held[1] - 3) < 1e-6, `a motion that ends away from its start plays once (${held})`);
    await playing.close();
    const looping = await openPage(browser, '?loop=1&seconds=0.5');
    await looping.waitForFunction(() => window.logo3d.playedSeconds > 1.2, { timeout: 60000 });
    check(await looping.evaluate(() => window.logo3d.playing && window.logo3d.loops), '?loop=1 loops it');
    await looping.close();
}

// The .glb in a plain three.js page, with three.js's default colour
// management, shows the viewer's colours.
async function checkPlainThree(browser, viewerPng) {
    const html = fs.readFileSync(path.join(outDir, 'logo.html'), 'utf8');
    const json = /<script type="application\/json" id="logo3d-page">(.*?)<\/script>/s.exec(html)[1];
    const config = JSON.parse(json.replace(/<\\\//g, '</'));
    fs.writeFileSync(path.join(outDir, 'config.json'), JSON.stringify({ ...config, shadow: null }));
    const page = await openPage(browser, '', { name: 'plain.html' });
    const plainPng = await page.screenshot({ path: path.join(outDir, 'plain-three.png') });
    const viewerPixels = await pixelsOf(page, viewerPng);
    const means = regionMeans(viewerPixels, analyse(viewerPixels), await pixelsOf(page, plainPng), 4);
    for (const [viewerMean, plainMean] of means) {
        const gap = Math.max(...viewerMean.map((v, k) => Math.abs(v - plainMean[k])));
        // Lit in linear light, as glTF viewers light, slanted faces and the
        // highlights differ a little from the viewer's lighting in the screen's values.
        check(gap <= 24, `plain three.js shows the viewer's ${viewerMean} as ${plainMean} (${gap} levels apart)`);
    }
    await page.close();
}

// The first html code block after `heading` in the manual.
function manualSnippet(heading) {
    const text = fs.readFileSync(manual, 'utf8');
    const from = text.indexOf(heading);
    const block = from < 0 ? null : /```html\n([\s\S]*?)```/.exec(text.slice(from));
    if (!block) throw new Error(`${path.basename(manual)} has no html snippet after "${heading}"`);
    return block[1];
}

const checkedVersions = new Set();

// Serves the CDN's URLs of the snippets from node_modules, as long as the
// manual names the version installed there.
async function serveCdnLocally(page) {
    await page.setRequestInterception(true);
    page.on('request', (request) => {
        const cdn = /^https:\/\/cdn\.jsdelivr\.net\/npm\/((?:@[^/]+\/)?[^@/]+)@([^/]+)\/(.*)$/.exec(request.url());
        if (!cdn) {
            request.continue();
            return;
        }
        const [, name, version, file] = cdn;
        const installed = JSON.parse(fs.readFileSync(path.join(nodeModules, name, 'package.json'), 'utf8')).version;
        if (!checkedVersions.has(name))
            check(version === installed, `the manual's ${name} is the installed one (${version}, ${installed})`);
        checkedVersions.add(name);
        request.respond({ status: 200, contentType: 'text/javascript',
                          headers: { 'Access-Control-Allow-Origin': '*' }, body: fs.readFileSync(path.join(nodeModules, name, file)) });
    });
}

// A page around a snippet of the manual, on a background no logo has, with the
// page's clock stopped at its first frame so that the motion stays at its
// start, where the viewer's picture shows it; window.framesShown counts frames.
async function openSnippet(browser, name, snippet) {
    fs.writeFileSync(path.join(outDir, name), '<!DOCTYPE html>\n<html><body style="margin:0; background:#ff00ff">\n' +
                     snippet.replace(/logo\.glb/g, 'plain.glb') + '</body></html>\n');
    const page = await browser.newPage();
    await page.setViewport({ width: 600, height: 300, deviceScaleFactor: 1 });
    page.on('pageerror', (error) => console.log(`${name}: page error: ${error.message}`));
    await serveCdnLocally(page);
    await page.evaluateOnNewDocument(() => {
        const original = window.requestAnimationFrame.bind(window);
        let stopped = null;
        window.framesShown = 0;
        window.requestAnimationFrame = (callback) => original(() => {
            if (stopped === null) stopped = performance.now();
            window.framesShown += 1;
            callback(stopped);
        });
    });
    await page.goto(`${origin}/${name}`);
    return page;
}

const magenta = [255, 0, 255];
// The logo's main colours by what they are in the viewer's picture.
const colourClasses = {
    band: (c) => c[2] > c[0] + 50,
    gold: (c) => c[0] > 200 && c[1] > 150 && c[2] < 140,
    red: (c) => c[0] > 180 && c[1] < 140 && c[2] < 110,
    white: (c) => c[0] > 190 && c[1] > 190 && c[2] > 170,
};
const classOf = (c) => Object.keys(colourClasses).find((name) => colourClasses[name](c));

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[sorted.length >> 1];
}

// Per class, the median colour of `pixels` over the points `members` gives.
function classMedians(pixels, members) {
    const medians = {};
    for (const [name, points] of Object.entries(members))
        medians[name] = [0, 1, 2].map((k) => median(points.map(([x, y]) => at(pixels, x, y)[k])));
    return medians;
}

// The points of each class whose neighbours are of the same class in the
// viewer's picture and on the logo in the other: the edges left out.
function classMembers(viewer, other) {
    const members = {};
    const wall = at(viewer, 0, 0);
    for (let y = 1; y < viewer.height - 1; ++y)
        for (let x = 1; x < viewer.width - 1; ++x) {
            const name = classOf(at(viewer, x, y));
            if (!name || distance(at(viewer, x, y), wall) < 12) continue;
            let inside = true;
            for (let dy = -1; dy <= 1 && inside; ++dy)
                for (let dx = -1; dx <= 1; ++dx)
                    if (classOf(at(viewer, x + dx, y + dy)) !== name || distance(at(other, x + dx, y + dy), magenta) < 60)
                        inside = false;
            if (inside) (members[name] = members[name] || []).push([x, y]);
        }
    return members;
}

// The manual's three.js snippet draws the .glb with the viewer's colours: the
// median colour of the band, the gold, the red and the white letters within a
// few levels of the viewer's picture of the same view.
async function checkThreeSnippet(browser) {
    const page = await openSnippet(browser, 'three-snippet.html',
                                   manualSnippet('**The `.glb` in your own three.js page**'));
    await page.waitForFunction(() => window.framesShown >= 3, { timeout: 120000, polling: 100 });
    const shot = await pixelsOf(page, await page.screenshot({ path: path.join(outDir, 'three-snippet.png') }));
    const viewer = await pixelsOf(page, fs.readFileSync(path.join(outDir, 'viewer-wide.png')));
    const members = classMembers(viewer, shot);
    const wanted = classMedians(viewer, members), shown = classMedians(shot, members);
    for (const name of Object.keys(colourClasses)) {
        const count = (members[name] || []).length;
        if (count < 100) {
            check(false, `the three.js snippet shows the ${name} (${count} points)`);
            continue;
        }
        const gap = Math.max(...wanted[name].map((v, k) => Math.abs(v - shown[name][k])));
        check(gap <= 6, `the three.js snippet shows the viewer's ${name} ${wanted[name]} as ${shown[name]} ` +
              `(${gap} levels apart, ${count} points)`);
    }
    await page.close();
}

// The manual's <model-viewer> snippet shows the logo, with colours near the
// viewer's: its own studio light and tone mapping, so far less near than
// three.js with the manual's lights.
async function checkModelViewerSnippet(browser) {
    const page = await openSnippet(browser, 'model-viewer-snippet.html',
                                   manualSnippet('**In a glTF web component**'));
    await page.waitForFunction(() => {
        const viewer = document.querySelector('model-viewer');
        return viewer && viewer.loaded && viewer.modelIsVisible;
    }, { timeout: 120000, polling: 100 });
    const frames = await page.evaluate(() => window.framesShown);
    await page.waitForFunction((n) => window.framesShown >= n + 3, { timeout: 60000, polling: 100 }, frames);
    const shot = await pixelsOf(page, await page.screenshot({ path: path.join(outDir, 'model-viewer-snippet.png') }));
    const viewer = await pixelsOf(page, fs.readFileSync(path.join(outDir, 'viewer-wide.png')));
    const logoOf = (pixels, background) => {
        const members = {};
        for (let y = 0; y < pixels.height; ++y)
            for (let x = 0; x < pixels.width; ++x) {
                const c = at(pixels, x, y);
                const name = classOf(c);
                if (name && distance(c, background) >= 60) (members[name] = members[name] || []).push([x, y]);
            }
        return members;
    };
    const shown = logoOf(shot, magenta), wanted = logoOf(viewer, at(viewer, 0, 0));
    const shownMedians = classMedians(shot, shown), wantedMedians = classMedians(viewer, wanted);
    for (const name of ['band', 'gold', 'white']) {
        const count = (shown[name] || []).length, share = count / Math.max((wanted[name] || []).length, 1);
        const gap = count ? Math.max(...wantedMedians[name].map((v, k) => Math.abs(v - shownMedians[name][k]))) : 255;
        check(share > 0.3 && gap <= 40, `<model-viewer> shows the viewer's ${name} ${wantedMedians[name]} as ` +
              `${shownMedians[name]} (${gap} levels apart, ${count} points, ${(100 * share).toFixed(0)}% of the viewer's)`);
    }
    await page.close();
}

// The page in an iframe of a page taller than the screen.
async function checkEmbedded(browser) {
    const host = await browser.newPage();
    await host.setViewport({ width: 800, height: 600, deviceScaleFactor: 1, hasTouch: true });
    host.on('pageerror', (error) => console.log(`host page error: ${error.message}`));
    fs.writeFileSync(path.join(outDir, 'host.html'), '<!DOCTYPE html><html><body style="margin:0; background:#d01010">' +
        '<div style="height:100px"></div><iframe src="logo.html?transparent=1&fit=1" width="600" height="300" ' +
        'style="border:0; display:block; margin-left:100px"></iframe><div style="height:3000px"></div></body></html>');
    await host.goto(`${origin}/host.html`);
    const frame = host.frames().find((f) => f.url().includes('logo.html'));
    await frame.waitForFunction(() => document.documentElement.dataset.ready !== undefined, { timeout: 120000 });
    const scrolled = () => host.evaluate(() => window.scrollY);
    const viewOf = () => frame.evaluate(() => ({ ...window.logo3d.view }));

    // Transparent and fitted: the host's red shows in the frame's corner, the logo fills its width.
    const shot = await pixelsOf(host, await host.screenshot({ path: path.join(outDir, 'embedded.png') }));
    check(distance(at(shot, 105, 105), [208, 16, 16]) < 10, 'the host page shows through the transparent page');
    let left = 800, right = 0;
    for (let x = 100; x < 700; ++x)
        for (let y = 100; y < 400; y += 2)
            if (distance(at(shot, x, y), [208, 16, 16]) > 40) {
                left = Math.min(left, x);
                right = Math.max(right, x);
            }
    const fill = (right - left) / 600;
    check(fill > 0.8 && fill < 0.97, `?fit=1: the logo fills the frame within a margin (${(100 * fill).toFixed(0)}%)`);

    // The wheel over the logo scrolls the host.
    await host.mouse.move(400, 250);
    await host.mouse.wheel({ deltaY: 200 });
    await host.waitForFunction(() => window.scrollY > 0, { timeout: 10000 }).catch(() => {});
    check(await scrolled() > 0, `the wheel over the logo scrolls the host page (${await scrolled()})`);
    await host.evaluate(() => window.scrollTo(0, 0));
    await host.waitForFunction(() => window.scrollY === 0);
    // A click, then the wheel scales it and the host stays; a drag turns it about x as well.
    await host.mouse.click(400, 250);
    await frame.waitForFunction(() => window.logo3d.engaged, { timeout: 10000 });
    await host.mouse.wheel({ deltaY: 200 });
    await frame.waitForFunction(() => window.logo3d.view.scale !== 1, { timeout: 10000 }).catch(() => {});
    check((await viewOf()).scale < 1 && await scrolled() === 0,
          `after a click the wheel scales the logo (${(await viewOf()).scale}) and the host stays`);
    const before = await viewOf();
    await host.mouse.move(400, 250);
    await host.mouse.down();
    await host.mouse.move(430, 300, { steps: 5 });
    await host.mouse.up();
    const after = await viewOf();
    check(after.rotX !== before.rotX && after.rotY !== before.rotY, 'a click then a drag turns the logo');
    await host.mouse.click(400, 250, { count: 2 });
    const reset = await viewOf();
    check(reset.rotX === 0 && reset.rotY === 0 && reset.scale === 1, 'a double click goes back to the first view');
    // The pointer leaves: the wheel scrolls the host again.
    await host.mouse.move(750, 550);
    await host.mouse.move(400, 250);
    await host.mouse.wheel({ deltaY: 200 });
    await host.waitForFunction(() => window.scrollY > 0, { timeout: 10000 }).catch(() => {});
    check(await scrolled() > 0, 'once the pointer has left, the wheel scrolls the host again');
    await host.evaluate(() => window.scrollTo(0, 0));
    await host.waitForFunction(() => window.scrollY === 0);
    await frame.evaluate(() => Object.assign(window.logo3d.view, { rotX: 0, rotY: 0 }));
    // Touch events, as a phone sends them.
    const swipe = async (from, to) => {
        await host.touchscreen.touchStart(from[0], from[1]);
        for (let k = 1; k <= 20; ++k)
            await host.touchscreen.touchMove(from[0] + (to[0] - from[0]) * k / 20, from[1] + (to[1] - from[1]) * k / 20);
        await host.touchscreen.touchEnd();
    };
    // A sideways swipe turns it; a vertical one scrolls the host and leaves the logo.
    await swipe([550, 250], [250, 250]);
    check((await viewOf()).rotY !== 0, `a sideways swipe turns the logo (${(await viewOf()).rotY})`);
    const turned = await viewOf();
    await swipe([400, 350], [400, 150]);
    await host.waitForFunction(() => window.scrollY > 0, { timeout: 10000 }).catch(() => {});
    check(await scrolled() > 0, `a vertical swipe over the logo scrolls the host page (${await scrolled()})`);
    const swiped = await viewOf();
    check(swiped.rotX === turned.rotX && swiped.rotY === turned.rotY, 'the vertical swipe leaves the logo as it was');
    // A double tap goes back to the first view; two taps far apart in time do
    // not. A touch while the page still glides from the swipe only stops it.
    await host.waitForFunction(() => new Promise((resolve) => {
        const y = window.scrollY;
        requestAnimationFrame(() => requestAnimationFrame(() => resolve(window.scrollY === y)));
    }), { timeout: 10000, polling: 100 });
    await host.evaluate(() => window.scrollTo(0, 0));
    await host.waitForFunction(() => window.scrollY === 0, { timeout: 10000 });
    const middle = await host.evaluate(() => {
        const box = document.querySelector('iframe').getBoundingClientRect();
        return [Math.round(box.left + box.width / 2), Math.round(box.top + box.height / 2)];
    });
    await host.touchscreen.tap(middle[0], middle[1]);
    await host.touchscreen.tap(middle[0] + 2, middle[1] + 1);
    const tappedTwice = await viewOf();
    check(tappedTwice.rotX === 0 && tappedTwice.rotY === 0 && tappedTwice.scale === 1,
          `a double tap goes back to the first view (${JSON.stringify(tappedTwice)})`);
    await frame.evaluate(() => Object.assign(window.logo3d.view, { rotY: 30 }));
    await host.touchscreen.tap(middle[0], middle[1]);
    await frame.evaluate(() => new Promise((resolve) => setTimeout(resolve, 500)));
    await host.touchscreen.tap(middle[0], middle[1]);
    check((await viewOf()).rotY === 30, 'two taps half a second apart leave the view');
    await host.close();
}

// Reduced motion holds still until asked; ?autoplay=0 likewise.
async function checkStillUntilAsked(browser) {
    for (const [query, before] of [['', (page) => page.emulateMediaFeatures(
        [{ name: 'prefers-reduced-motion', value: 'reduce' }])], ['?autoplay=0', null]]) {
        const page = await openPage(browser, query, { before });
        await framesPass(page, 30);
        const state = await page.evaluate(() => [window.logo3d.playing, window.logo3d.playedSeconds]);
        check(state[0] === false && state[1] === 0, `${query || 'reduced motion'}: the logo holds still (${state})`);
        await page.mouse.click(200, 200);
        check(await page.evaluate(() => window.logo3d.playing), `${query || 'reduced motion'}: a click plays the motion`);
        await page.close();
    }
}

// Without WebGL, and without JavaScript, the still picture shows the logo.
async function checkStillPicture(browser) {
    const noWebGl = (page) => page.evaluateOnNewDocument(() => {
        const original = HTMLCanvasElement.prototype.getContext;
        HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
            return /webgl/.test(kind) ? null : original.call(this, kind, ...rest);
        };
    });
    const noScript = (page) => page.setJavaScriptEnabled(false);
    for (const [what, before] of [['without WebGL', noWebGl], ['without JavaScript', noScript]]) {
        const page = await browser.newPage();
        await page.setViewport({ ...size, deviceScaleFactor: 1 });
        await before(page);
        await page.goto(`${origin}/logo.html`);
        await page.waitForFunction(() => document.querySelector('.logo3d-still').complete, { timeout: 60000 });
        const shot = analyse(await pixelsOf(page, await page.screenshot({ path: path.join(outDir, `still-${what.split(' ')[1]}.png`) })));
        check(shot.count > 0.05 * size.width * size.height, `${what} the still picture shows the logo`);
        await page.close();
    }
}

async function main() {
    const server = await serve();
    origin = `http://127.0.0.1:${server.address().port}`;
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'logo3d-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-first-run', '--disable-smooth-scrolling',
               '--disable-background-networking', '--disable-component-update', '--disable-sync', '--disable-quic'],
    });
    try {
        const viewerPng = fs.readFileSync(viewerPicture);
        // LOGO3D_PAGE_CHECKS=embedded,plain runs those alone.
        const only = (process.env.LOGO3D_PAGE_CHECKS || '').split(',').filter(Boolean);
        const checks = {
            viewer: () => checkAgainstTheViewer(browser, viewerPng),
            plain: () => checkPlainThree(browser, viewerPng),
            three: () => checkThreeSnippet(browser),
            modelViewer: () => checkModelViewerSnippet(browser),
            embedded: () => checkEmbedded(browser),
            motion: () => checkStillUntilAsked(browser),
            still: () => checkStillPicture(browser),
            // The lite page loads three.js from its URL.
            lite: async () => (await openPage(browser, '', { name: 'lite.html' })).close(),
        };
        for (const [name, run] of Object.entries(checks))
            if (only.length === 0 || only.includes(name)) await run();
    } finally {
        await browser.close();
        server.close();
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
