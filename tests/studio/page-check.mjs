#!/usr/bin/env node
// Opens logo3d-studio.html from file:// in Debian's Chromium (headless,
// software WebGL) and uses it as a person would: the first logo comes with
// nothing fetched from the network; an edit through the test handle and one
// typed into the string editor redraw; the mouse turns and scales the logo
// and a build keeps the view; a damaged string file marks its line
// and keeps the last logo; the .glb export passes the Khronos validator; a
// face and an example load. Every wait is for the page's own counters.
// Usage: page-check.mjs PAGE.html OUT_DIR
import fs from 'fs';
import os from 'os';
import path from 'path';
import { createRequire } from 'module';
import { execFileSync } from 'child_process';
import { logoTriangles } from './glb.mjs';
import { checkSolid, objFiles, stlTriangles, threeMfParts } from './solids.mjs';

const require = createRequire(import.meta.url);
const puppeteer = require('puppeteer-core');
const validator = require('gltf-validator');

const [pagePath, outDir] = process.argv.slice(2);
fs.mkdirSync(outDir, { recursive: true });
let failures = 0;

function check(ok, what) {
    console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
    if (!ok) failures += 1;
}

const handle = (page, body, ...args) => page.evaluate(body, ...args);

// Waits for a build after buildsBefore, and then until the picture and the
// findings are those of the files in the editors.
async function nextBuild(page, buildsBefore) {
    await page.waitForFunction((n) => window.logo3dStudio.buildsDone > n && window.logo3dStudio.settled,
        { timeout: 60000 }, buildsBefore);
}

const state = (page) => handle(page, () => ({
    builds: window.logo3dStudio.buildsDone, frames: window.logo3dStudio.framesDrawn,
    triangles: window.logo3dStudio.trianglesShown, built: document.documentElement.dataset.built,
}));

// PrusaSlicer's word on an STL, where it is installed: "key = value" lines.
function slicerInfo(file) {
    try {
        return execFileSync('prusa-slicer', ['--info', file], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
    } catch {
        return null;
    }
}

// The printable exports: the .stl one closed solid on the bed, of the width
// asked; the .3mf one object whose parts are closed, named, coloured and
// each printed by an extruder of its own.
async function checkPrints(page, outDir) {
    const exportBytes = (format, options) =>
        handle(page, async (f, o) => Array.from(await window.logo3dStudio.export(f, o)), format, options).then((b) => new Uint8Array(b));
    const stl = await exportBytes('stl', { width: 100 });
    fs.writeFileSync(path.join(outDir, 'studio.stl'), stl);
    const triangles = stlTriangles(stl);
    const solid = checkSolid(triangles);
    const box = { min: [Infinity, Infinity, Infinity], max: [-Infinity, -Infinity, -Infinity] };
    for (const corner of triangles.flat())
        for (let k = 0; k < 3; ++k) {
            box.min[k] = Math.min(box.min[k], corner[k]);
            box.max[k] = Math.max(box.max[k], corner[k]);
        }
    const width = box.max[0] - box.min[0];
    check(solid.closed && solid.volume > 0, `the .stl is a closed solid (${triangles.length} triangles, ${solid.open} open, ` +
        `${solid.overused} overused, ${solid.misturned} misturned edges, volume ${solid.volume.toFixed(0)} mm³)`);
    check(Math.abs(width - 100) < 1.5 && Math.abs(box.min[2]) < 1e-4, `the .stl is 100 mm wide on the bed (${width.toFixed(2)} mm)`);
    const info = slicerInfo(path.join(outDir, 'studio.stl'));
    if (info !== null) check(/^manifold = yes$/m.test(info), `PrusaSlicer finds the .stl manifold (${(info.match(/^manifold = .*$/m) || ['?'])[0]})`);

    const threeMf = await exportBytes('3mf', { width: 100, base: 2 });
    fs.writeFileSync(path.join(outDir, 'studio.3mf'), threeMf);
    const model = threeMfParts(threeMf);
    const parts = model.parts.map((p) => ({ ...p, ...checkSolid(p.triangles) }));
    check(model.built && model.objects === 1 && parts.length >= 2 &&
        parts.every((p, k) => p.closed && p.volume > 0 && p.extruder === k + 1 && /^material \d+$/.test(p.name) &&
            /^#[0-9A-F]{8}$/.test(p.colour)),
        `the .3mf is one object of closed, named, coloured parts (${parts.map((p) => `${p.name} ${p.colour} ` +
            `${p.triangles.length} triangles${p.closed ? '' : ' NOT CLOSED'}`).join('; ')})`);
}

// The viewer's mouse on the picture: a left drag turns the logo, the wheel
// scales it without a click first, a new build keeps the view, a double
// click goes back to the first view.
async function checkMouse(page) {
    const box = await (await page.$('#picture canvas')).boundingBox();
    const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
    const view = () => handle(page, () => window.logo3dStudio.view);
    await page.mouse.move(x, y);
    await page.mouse.down();
    await page.mouse.move(x + 40, y + 20, { steps: 4 });
    await page.mouse.up();
    const turned = await view();
    check(turned.rotX !== 0 && turned.rotY !== 0, `a drag turns the logo (${turned.rotX}, ${turned.rotY})`);
    await page.mouse.wheel({ deltaY: 100 });
    await page.waitForFunction(() => window.logo3dStudio.view.scale !== 1, { timeout: 10000 }).catch(() => {});
    const scaled = await view();
    check(scaled.scale < 1, `the wheel scales the logo at once (${scaled.scale})`);
    const before = await state(page);
    const string = await handle(page, () => window.logo3dStudio.getFile('string.src'));
    await handle(page, (s) => window.logo3dStudio.setFile('string.src', s), string + '\n');
    await nextBuild(page, before.builds);
    check(JSON.stringify(await view()) === JSON.stringify(scaled), 'a new build keeps the view');
    await page.mouse.click(x, y, { count: 2 });
    const reset = await view();
    check(reset.rotX === 0 && reset.rotY === 0 && reset.scale === 1, 'a double click goes back to the first view');
    await handle(page, (s) => window.logo3dStudio.setFile('string.src', s), string);
    await nextBuild(page, before.builds + 1);
}

async function main() {
    fs.mkdirSync(outDir, { recursive: true });
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'logo3d-studio-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        // The printable exports take half a minute or more on a busy machine.
        protocolTimeout: 600000,
        args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync', '--disable-quic'],
    });
    try {
        const page = await browser.newPage();
        await page.setViewport({ width: 1200, height: 800 });
        const fetched = [];
        page.on('request', (request) => {
            const url = request.url();
            if (!url.startsWith('file:') && !url.startsWith('data:') && !url.startsWith('blob:')) fetched.push(url);
        });
        const errors = [];
        page.on('pageerror', (error) => errors.push(String(error)));
        const opened = Date.now();
        await page.goto('file://' + path.resolve(pagePath));
        await page.waitForFunction(() => document.documentElement.dataset.ready === 'true', { timeout: 60000 });
        const first = await state(page);
        console.log(`first logo on screen after ${Date.now() - opened} ms`);
        check(first.triangles > 1000, `the first logo is on screen (${first.triangles} triangles)`);
        check(await page.$$eval('[data-file]', (e) => e.map((x) => x.dataset.file).join()) === 'font.src,env.src,string.src',
            'three editors, one for each file');
        check(await page.$$eval('[data-file="string.src"] .cm-lineNumbers .cm-gutterElement', (e) => e.length) > 1,
            'the editors number their lines');
        await page.screenshot({ path: path.join(outDir, 'studio.png') });
        await checkMouse(page);
        let before;

        // Hovering a number says what it is; a colour has a picker that
        // rewrites its numbers.
        await page.hover('[data-file="env.src"] [data-value="green"]');
        const tip = await page.waitForSelector('.value-tip', { timeout: 5000 }).catch(() => null);
        const tipText = tip ? await tip.evaluate((e) => e.textContent) : '';
        check(/: green$/.test(tipText), `hovering a number names its field and value ("${tipText}")`);
        before = await state(page);
        const envBefore = await handle(page, () => window.logo3dStudio.getFile('env.src'));
        await page.$eval('[data-file="env.src"] .swatch', (input) => {
            input.value = '#ff8000';
            input.dispatchEvent(new Event('input', { bubbles: true }));
        });
        await nextBuild(page, before.builds);
        const envAfter = await handle(page, () => window.logo3dStudio.getFile('env.src'));
        const changed = envAfter.split('\n').filter((l, i) => l !== envBefore.split('\n')[i]);
        check(changed.length === 1 && /^\s*1 0\.502 0 /.test(changed[0]),
            `the colour picker rewrites red, green and blue (${JSON.stringify(changed)})`);
        await handle(page, (s) => window.logo3dStudio.setFile('env.src', s), envBefore);
        await nextBuild(page, before.builds + 1);

        // An edit through the handle.
        const string = await handle(page, () => window.logo3dStudio.getFile('string.src'));
        before = await state(page);
        await handle(page, (s) => window.logo3dStudio.setFile('string.src', s), string + '\n');
        await nextBuild(page, before.builds);
        check((await state(page)).built === 'true', 'an edit through setFile builds');

        // Typing into the string editor at the end of the file.
        before = await state(page);
        await page.click('[data-file="string.src"] .cm-content');
        await page.keyboard.down('Control');
        await page.keyboard.press('End');
        await page.keyboard.up('Control');
        await page.keyboard.type('# typed\n', { delay: 20 });
        await nextBuild(page, before.builds);
        check((await handle(page, () => window.logo3dStudio.getFile('string.src'))).includes('# typed'),
            'typing reaches the string file');
        const afterTyping = await state(page);
        check(afterTyping.frames > before.frames, `typing redraws (${before.frames} -> ${afterTyping.frames} frames)`);

        // A damaged string file: its line marked, the last logo kept.
        const lines = string.split('\n');
        // A line of several numbers after the text, with a word for one of them.
        const damagedAt = lines.findIndex((l) => /^-?[0-9.]+( +-?[0-9.]+){3,}\s*$/.test(l));
        lines[damagedAt] = lines[damagedAt].replace(/ [0-9.]+/, ' x');
        before = await state(page);
        await handle(page, (s) => window.logo3dStudio.setFile('string.src', s), lines.join('\n'));
        await nextBuild(page, before.builds);
        const damaged = await state(page);
        const findings = await handle(page, () => window.logo3dStudio.findings());
        const firstError = findings.find((f) => f.severity === 'error');
        check(damaged.built === 'false' && firstError && firstError.file === 'string.src',
            `a damaged string file does not build and says where (${firstError && firstError.text})`);
        // The editor draws only the lines in view: the finding's entry in the
        // list brings its line into view, as it would for a person.
        const entry = (await page.$$('#findings li'))[findings.indexOf(firstError)];
        if (entry) await entry.click();
        const marked = firstError && await page.waitForSelector(
            `[data-file="string.src"] .cm-line[data-finding="string.src:${firstError.line}"]`, { timeout: 5000 }).catch(() => null);
        check(Boolean(marked), `the finding marks its line (data-finding="string.src:${firstError && firstError.line}")`);
        check(damaged.triangles === before.triangles && damaged.triangles > 0, 'the last logo stays on screen');
        await page.screenshot({ path: path.join(outDir, 'studio-damaged.png') });
        before = await state(page);
        await handle(page, (s) => window.logo3dStudio.setFile('string.src', s), string);
        await nextBuild(page, before.builds);
        check((await state(page)).built === 'true' && (await handle(page, () => window.logo3dStudio.findings()))
            .every((f) => f.severity !== 'error'), 'mended, it builds again');

        // The .glb export through the Khronos validator.
        const glb = new Uint8Array(await handle(page, async () => Array.from(await window.logo3dStudio.export('glb'))));
        fs.writeFileSync(path.join(outDir, 'studio.glb'), glb);
        const report = await validator.validateBytes(glb, { maxIssues: 0 });
        check(report.issues.numErrors === 0 && report.issues.numWarnings === 0,
            `the .glb export passes the validator (${report.issues.numErrors} errors, ${report.issues.numWarnings} warnings, ` +
            `${logoTriangles(glb).triangles} triangles)`);
        // Each format as the user gets it.
        const exported = {};
        for (const format of ['obj', 'html'])
            exported[format] = Buffer.from(await handle(page, async (f) => Array.from(await window.logo3dStudio.export(f)), format));
        const obj = objFiles(new Uint8Array(exported.obj));
        const mtllib = (obj['logo.obj'] || '').match(/^mtllib (.+)$/m);
        const used = [...(obj['logo.obj'] || '').matchAll(/^usemtl (.+)$/gm)].map((m) => m[1]);
        const defined = new Set([...(obj[mtllib && mtllib[1]] || '').matchAll(/^newmtl (.+)$/gm)].map((m) => m[1]));
        check(mtllib && Object.keys(obj).sort().join() === ['logo.obj', mtllib[1]].sort().join() && used.length > 0 &&
            used.every((m) => defined.has(m)) && /^v -?[0-9]/m.test(obj['logo.obj']) && /^f [0-9]/m.test(obj['logo.obj']),
            `the .obj comes with the .mtl its mtllib names, every material defined (${Object.keys(obj).join(', ')}; ${used.length} groups)`);
        await checkPrints(page, outDir);
        const html = exported.html.toString('utf8');
        check(html.startsWith('<!DOCTYPE html>') && html.includes('id="logo3d-model"') && html.includes('id="logo3d-page"'),
            'the .html is a page with the model inside');
        const png = await handle(page, async () => Array.from(await window.logo3dStudio.export('png', { width: 320, height: 200, transparent: true })));
        check(png.length > 1000 && png[1] === 0x50, `the .png export is a picture (${png.length} bytes)`);

        // A face and an example.
        const fonts = await handle(page, () => window.logo3dStudio.fonts());
        check(fonts.length === 33, `33 faces (${fonts.length})`);
        before = await state(page);
        await handle(page, () => window.logo3dStudio.useFont('futural'));
        await nextBuild(page, before.builds);
        const face = await state(page);
        check(face.built === 'true' && face.triangles !== before.triangles && (await handle(page,
            () => window.logo3dStudio.getFile('string.src'))) === string, `a face loads and keeps the string file (${face.triangles} triangles)`);
        const examples = await handle(page, () => window.logo3dStudio.examples());
        before = await state(page);
        await handle(page, () => window.logo3dStudio.loadExample('plate'));
        await nextBuild(page, before.builds);
        const example = await state(page);
        check(examples.length >= 10 && example.built === 'true' &&
            (await handle(page, () => window.logo3dStudio.getFile('string.src'))) ===
            fs.readFileSync(path.join(path.dirname(new URL(import.meta.url).pathname), '../../examples/plate/string.src'), 'latin1'),
            `an example loads (${examples.length} examples; plate: ${example.triangles} triangles)`);
        await page.screenshot({ path: path.join(outDir, 'studio-example.png') });

        // A file dropped on the string editor goes into it; the work outlives a reload.
        before = await state(page);
        await page.evaluate(() => {
            const transfer = new DataTransfer();
            transfer.items.add(new File(['# dropped\n' + window.logo3dStudio.getFile('string.src')], 'mine.txt'));
            document.querySelector('[data-file="string.src"] .cm-content')
                .dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
        });
        await nextBuild(page, before.builds);
        const dropped = await handle(page, () => window.logo3dStudio.getFile('string.src'));
        check(dropped.startsWith('# dropped\n'), 'a file dropped on the string editor goes into it');
        await page.reload();
        await page.waitForFunction(() => document.documentElement.dataset.ready === 'true', { timeout: 60000 });
        check(await handle(page, () => window.logo3dStudio.getFile('string.src')) === dropped,
            'the files are kept in the browser across a reload');

        check(fetched.length === 0, `nothing fetched from the network (${fetched.join(', ') || 'none'})`);
        check(errors.length === 0, `no script errors (${errors.join('; ') || 'none'})`);
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

main().then(() => {
    console.log(failures === 0 ? 'all checks passed' : `${failures} checks failed`);
    process.exit(failures === 0 ? 0 : 1);
}, (error) => {
    console.error(error);
    process.exit(1);
});
