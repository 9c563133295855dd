#!/usr/bin/env node
// The studio's figures: the page's size and the time to its first logo; edit
// to picture for the default logo in headless Chromium with software WebGL
// (a change through the test handle until the frame that shows its logo);
// the WebAssembly core's build time in node beside the native exporter's;
// the time the printable exports take.
// Usage: bench/studio.mjs PAGE.html LOGO3D-CORE.js [LOGO3D-BENCH-EXPORT [LOGO3D-EXPORT]]
import { execFileSync } from 'child_process';
import fs from 'fs';
import os from 'os';
import path from 'path';
import { createRequire } from 'module';
import { wrapCore } from '../tools/studio/web/core.mjs';

const [pagePath, corePath, nativeBench, exporter] = process.argv.slice(2);
const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const require = createRequire(import.meta.url);
const puppeteer = require('puppeteer-core');
const kEdits = 12;

const best = (values) => Math.min(...values);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (v) => `${v.toFixed(1)} ms`;

async function inNode() {
    const core = wrapCore(await require(path.resolve(corePath))());
    const files = Object.fromEntries(['font', 'env', 'string'].map((f) => [f, fs.readFileSync(path.join(root, 'data', `${f}.src`))]));
    const times = [];
    for (let i = 0; i < 6; ++i) {
        const started = performance.now();
        core.build(files, { format: 'glb' });
        if (i > 0) times.push(performance.now() - started);  // the first pays for compiling the module
    }
    console.log(`WebAssembly core in node, default logo to .glb with the checker's findings: best ${ms(best(times))}, median ${ms(median(times))}`);
    if (nativeBench && fs.existsSync(nativeBench)) {
        const native = execFileSync(nativeBench, [path.join(root, 'data'), 'default'], { encoding: 'utf8' }).trim();
        console.log(`native: ${native}`);
        const nativeMs = Number((native.match(/export to .glb ([0-9.]+) ms/) || [])[1]);
        if (nativeMs > 0) console.log(`WebAssembly / native = ${(best(times) / nativeMs).toFixed(2)} (aim: at most 2)`);
    }
}

// The time one frame takes: the motion plays, so frames follow each other.
function frameTime(page) {
    return page.evaluate(async () => {
        const frames = window.logo3dStudio.framesDrawn, started = performance.now();
        await new Promise((resolve) => setTimeout(resolve, 2000));
        return (performance.now() - started) / Math.max(window.logo3dStudio.framesDrawn - frames, 1);
    });
}

async function inChromium() {
    console.log(`page: ${(fs.statSync(pagePath).size / 1e6).toFixed(2)} MB (at most 8 MB)`);
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'logo3d-studio-bench-'));
    const browser = await puppeteer.launch({
        executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
        args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync', '--disable-quic'],
    });
    try {
        const page = await browser.newPage();
        await page.setViewport({ width: 1200, height: 800 });
        const opened = Date.now();
        await page.goto('file://' + path.resolve(pagePath));
        await page.waitForFunction(() => document.documentElement.dataset.ready === 'true', { timeout: 60000 });
        console.log(`first logo on screen ${Date.now() - opened} ms after opening (at most 10 s)`);
        const times = await page.evaluate(async (edits) => {
            const studio = window.logo3dStudio;
            const string = studio.getFile('string.src');
            const out = [];
            for (let i = 0; i < edits; ++i) {
                const frames = studio.framesDrawn;
                const started = performance.now();
                // A change that builds a new logo of the same size: a comment.
                studio.setFile('string.src', string + `\n# edit ${i}\n`);
                await new Promise((resolve) => {
                    const wait = () => (studio.settled && studio.framesDrawn > frames ? resolve() : requestAnimationFrame(wait));
                    wait();
                });
                out.push({ total: performance.now() - started, core: studio.coreBuildMs, ...studio.timing });
            }
            return out;
        }, kEdits);
        // The typing pause (100 ms) comes before every build and is not the build's.
        const total = times.map((t) => t.total - 100);
        const swap = times.map((t) => t.worker + t.show);
        const core = times.map((t) => t.core);
        console.log(`edit to picture, default logo: the worker's build and the swap in three.js best ${ms(best(swap))}, ` +
                    `median ${ms(median(swap))} (at most 300 ms; the core's own build median ${ms(median(core))})`);
        console.log(`  until the next frame is on screen, after the 100 ms typing pause: best ${ms(best(total))}, ` +
                    `median ${ms(median(total))} (software WebGL draws a frame of this size in about ${ms(await frameTime(page))})`);
        // The printable exports in the page's worker, at the page's grid: a
        // name plate 80 mm wide on a 2 mm plate (at most 3 s) and the default
        // logo 100 mm wide (at most 10 s).
        const prints = [['name plate ANNA', 'stl', { width: 80, base: 2, text: 'ANNA' }, 3],
            ['default logo', 'stl', { width: 100, base: 2 }, 10], ['default logo', '3mf', { width: 100, base: 2 }, 10]];
        for (const [name, format, options, most] of prints) {
            const [took, size] = await page.evaluate(async (f, o) => {
                const started = performance.now();
                const bytes = await window.logo3dStudio.export(f, o);
                return [performance.now() - started, bytes.length];
            }, format, options);
            console.log(`.${format} export, ${name} ${options.width} mm wide in the page's worker: ` +
                        `${(took / 1000).toFixed(1)} s (at most ${most} s), ${(size / 1e6).toFixed(2)} MB`);
        }
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

// The page's grid (at most 320 voxels across) against the exporter's own
// (0.08 mm): the default logo's print volume, within 2%.
async function gridsAgree() {
    if (!exporter || !fs.existsSync(exporter)) return;
    const core = wrapCore(await require(path.resolve(corePath))());
    const files = Object.fromEntries(['font', 'env', 'string'].map((f) => [f, fs.readFileSync(path.join(root, 'data', `${f}.src`))]));
    const volumeOf = (lines) => Number((lines.join('\n').match(/volume ([0-9.]+) mm/) || [])[1]);
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'logo3d-grids-'));
    const report = execFileSync(exporter, ['-f', path.join(root, 'data/font.src'), '-e', path.join(root, 'data/env.src'),
        '-s', path.join(root, 'data/string.src'), '--print', '--width', '100', '--base', '2', '-o', path.join(dir, 'logo.stl')],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
    fs.rmSync(dir, { recursive: true, force: true });
    const page = core.build(files, { format: 'stl', width: 100, base: 2 });
    const [a, b] = [volumeOf(report.split('\n')), volumeOf(page.report)];
    console.log(`default logo 100 mm, volume: the exporter's grid ${a.toFixed(1)} mm³, the page's ${b.toFixed(1)} mm³ ` +
                `(${(100 * Math.abs(a - b) / a).toFixed(2)}% apart; at most 2%)`);
}

await inNode();
await gridsAgree();
await inChromium();
