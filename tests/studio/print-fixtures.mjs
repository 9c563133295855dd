#!/usr/bin/env node
// The print fixtures of tests/data/print/fixtures.json made by both grids,
// OpenVDB in logo3d-export and the dense grid in the page's module, at the
// fixture's voxel: each closed, with the same warnings (numbers aside),
// volumes within 1% and boxes within a voxel.
// Usage: print-fixtures.mjs LOGO3D-CORE.js LOGO3D-EXPORT SOURCE_DIR
import { spawnSync } from 'child_process';
import fs from 'fs';
import os from 'os';
import path from 'path';
import { createRequire } from 'module';
import { wrapCore } from '../../tools/studio/web/core.mjs';
import { checkSolid, stlTriangles, threeMfParts } from './solids.mjs';

const [corePath, exporter, source] = process.argv.slice(2).map((p) => path.resolve(p));
const require = createRequire(import.meta.url);
const core = wrapCore(await require(corePath)());
const { fixtures } = JSON.parse(fs.readFileSync(path.join(source, 'tests/data/print/fixtures.json'), 'utf8'));
let failures = 0;

function check(ok, what) {
    console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
    if (!ok) failures += 1;
}

function filesOf(fixture) {
    const file = (f) => {
        const own = path.join(source, fixture.files, f);
        return fs.readFileSync(fs.existsSync(own) ? own : path.join(source, 'data', f));
    };
    return { font: file('font.src'), env: file('env.src'), string: file('string.src') };
}

// The solid's parts (one for an STL), each as its triangles.
function partsOf(name, bytes) {
    if (name.endsWith('.stl')) return [stlTriangles(bytes)];
    return threeMfParts(bytes).parts.map((part) => part.triangles);
}

// Each part closed as a reader that knows corners only by their place
// sees it; the volume and box of all.
function measured(parts) {
    const min = [Infinity, Infinity, Infinity], max = [-Infinity, -Infinity, -Infinity];
    const checks = parts.map(checkSolid);
    for (const t of parts.flat())
        for (const p of t)
            for (let k = 0; k < 3; ++k) min[k] = Math.min(min[k], p[k]), max[k] = Math.max(max[k], p[k]);
    const sum = (key) => checks.reduce((n, c) => n + c[key], 0);
    return { closed: checks.every((c) => c.closed), open: sum('open'), overused: sum('overused'),
        misturned: sum('misturned'), volume: sum('volume'), min, max };
}

// Warnings with their figures left out: the two grids place a part a hair
// apart.
const wordsOf = (lines) => lines.filter((l) => l.startsWith('warning: ')).map((l) => l.replace(/-?[0-9.]+/g, '#'));

function native(fixture, files) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'print-fixture-'));
    for (const [name, bytes] of Object.entries(files)) fs.writeFileSync(path.join(dir, `${name}.src`), bytes);
    const p = fixture.print;
    const args = ['-f', 'font.src', '-e', 'env.src', '-s', 'string.src', '--print', '--width', String(p.width),
        '--voxel', String(p.voxel), '-o', fixture.output, ...(p.base ? ['--base', String(p.base)] : []),
        ...(fixture.text ? ['--text', fixture.text] : []), ...(p.allowFloating ? ['--allow-floating'] : [])];
    const run = spawnSync(exporter, args, { cwd: dir, encoding: 'utf8' });
    const out = { status: run.status, notes: run.stderr.split('\n').filter(Boolean),
        bytes: run.status === 0 ? fs.readFileSync(path.join(dir, fixture.output)) : null };
    fs.rmSync(dir, { recursive: true, force: true });
    return out;
}

function page(fixture, files) {
    const p = fixture.print;
    const result = core.build(files, { format: path.extname(fixture.output).slice(1), output: fixture.output,
        text: fixture.text, width: p.width, base: p.base ?? 0, voxel: p.voxel, steps: 0,
        allowFloating: p.allowFloating === true });
    return { status: result.built ? 0 : 1, notes: result.notes, bytes: result.built ? result.bytes : null };
}

function compare(fixture) {
    const files = filesOf(fixture);
    const a = native(fixture, files), b = page(fixture, files);
    check(a.status === 0 && b.status === 0, `${fixture.name}: both made (${a.status}, ${b.status})`);
    if (!a.bytes || !b.bytes) return;
    const [one, two] = [a, b].map((r) => measured(partsOf(fixture.output, r.bytes)));
    check(one.closed && two.closed, `${fixture.name}: both closed (OpenVDB ${JSON.stringify([one.open, one.overused, one.misturned])}, dense ${JSON.stringify([two.open, two.overused, two.misturned])})`);
    check(JSON.stringify(wordsOf(a.notes)) === JSON.stringify(wordsOf(b.notes)),
        `${fixture.name}: the same warnings\n  OpenVDB: ${wordsOf(a.notes).join('; ')}\n  dense:   ${wordsOf(b.notes).join('; ')}`);
    const spread = Math.abs(one.volume - two.volume) / one.volume;
    check(spread <= 0.01, `${fixture.name}: volumes ${one.volume.toFixed(1)} and ${two.volume.toFixed(1)} mm³ (${(100 * spread).toFixed(2)}%)`);
    const off = Math.max(...[0, 1, 2].flatMap((k) => [Math.abs(one.min[k] - two.min[k]), Math.abs(one.max[k] - two.max[k])]));
    check(off <= fixture.print.voxel, `${fixture.name}: boxes ${off.toFixed(3)} mm apart (voxel ${fixture.print.voxel})`);
}
// The module's runtime turns an abort into a throw from its own (minified,
// very long) line: say what failed here instead.
try {
    fixtures.forEach(compare);
} catch (error) {
    console.error(String(error && error.stack ? error.stack : error).slice(0, 2000));
    process.exit(1);
}
console.log(failures === 0 ? 'all checks passed' : `${failures} checks failed`);
process.exit(failures === 0 ? 0 : 1);
