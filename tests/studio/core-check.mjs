#!/usr/bin/env node
// The studio's WebAssembly core against the native tools: for the default
// logo and every example, the module's .glb has the triangles of
// logo3d-export's (counts within 0.1%, boxes within 0.0001 units: the two
// math libraries differ in their last bits), and its findings are
// logo3d-check's, line for line; a file that does not read builds nothing.
// Usage: core-check.mjs LOGO3D-CORE.js LOGO3D-EXPORT LOGO3D-CHECK SOURCE_DIR
import { spawnSync } from 'child_process';
import fs from 'fs';
import os from 'os';
import path from 'path';
import { createRequire } from 'module';
import { wrapCore } from '../../tools/studio/web/core.mjs';
import { logoTriangles } from './glb.mjs';

const [corePath, exporter, checker, source] = process.argv.slice(2).map((p) => path.resolve(p));
const require = createRequire(import.meta.url);
const core = wrapCore(await require(path.resolve(corePath))());
let failures = 0;

function check(ok, what) {
    console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
    if (!ok) failures += 1;
}

// The three files of each case: an example's own, the default's for the rest.
function cases() {
    const data = path.join(source, 'data');
    const all = [{ name: 'default logo', dir: data }];
    for (const name of fs.readdirSync(path.join(source, 'examples')).sort())
        all.push({ name, dir: path.join(source, 'examples', name) });
    return all.map(({ name, dir }) => {
        const file = (f) => (fs.existsSync(path.join(dir, f)) ? path.join(dir, f) : path.join(data, f));
        return { name, font: file('font.src'), env: file('env.src'), string: file('string.src') };
    });
}

// Copies the files under their own names, so that the checker's messages name
// them as the module's do.
function scratchWith(c) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'studio-core-'));
    for (const f of ['font', 'env', 'string']) fs.copyFileSync(c[f], path.join(dir, `${f}.src`));
    return dir;
}

function checkerFindings(dir) {
    const run = spawnSync(checker, ['-f', 'font.src', '-e', 'env.src', '-s', 'string.src'], { cwd: dir, encoding: 'latin1' });
    return run.stdout.split('\n').filter((line) => line.length > 0);
}

function near(a, b, tolerance) {
    return a.every((v, i) => Math.abs(v - b[i]) <= tolerance);
}

const lines = (text) => text.split('\n').filter((line) => line.length > 0);

// The exporter's words for the same files: what it prints on the standard
// error stream (warnings, then the problem) and on the standard output
// (the report), line for line the module's.
function sameWords(name, run, result) {
    const said = [...result.notes, ...(result.built ? [] : [result.problem])];
    const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
    const apart = (ours, theirs) => (same(ours, theirs) ? '' : `\n  module:   ${ours.join('\n            ')}\n  exporter: ${theirs.join('\n            ')}`);
    check(same(lines(run.stderr), said), `${name}: the module warns as the exporter does (${said.length} lines)` +
        apart(said, lines(run.stderr)));
    const report = result.report || [];
    check(same(lines(run.stdout), report), `${name}: the module reports as the exporter does` + apart(report, lines(run.stdout)));
}

function exportIn(dir, args = []) {
    return spawnSync(exporter, ['-f', 'font.src', '-e', 'env.src', '-s', 'string.src', '-o', 'logo.glb', ...args],
        { cwd: dir, encoding: 'latin1' });
}

function compare(c) {
    const dir = scratchWith(c);
    const files = { font: fs.readFileSync(c.font), env: fs.readFileSync(c.env), string: fs.readFileSync(c.string) };
    const result = core.build(files, { format: 'glb' });
    sameWords(c.name, exportIn(dir), result);
    const native = logoTriangles(fs.readFileSync(path.join(dir, 'logo.glb')));
    const ours = result.built ? logoTriangles(result.bytes) : { triangles: 0, min: [], max: [] };
    check(result.built, `${c.name}: the module builds (${result.problem || 'no problem'})`);
    const spread = Math.abs(ours.triangles - native.triangles) / Math.max(native.triangles, 1);
    check(spread <= 0.001, `${c.name}: ${ours.triangles} triangles, the exporter ${native.triangles}`);
    check(near(ours.min, native.min, 1e-4) && near(ours.max, native.max, 1e-4),
        `${c.name}: box ${JSON.stringify([ours.min, ours.max])} is the exporter's ${JSON.stringify([native.min, native.max])}`);
    const expected = checkerFindings(dir);
    const got = result.findings.map((f) => f.text);
    check(JSON.stringify(got) === JSON.stringify(expected),
        `${c.name}: ${got.length} findings, as the checker's ${expected.length}` +
        (JSON.stringify(got) === JSON.stringify(expected) ? '' : `\n  module: ${got.join('\n          ')}\n  checker: ${expected.join('\n           ')}`));
    fs.rmSync(dir, { recursive: true, force: true });
}

// Damaged files: the findings are still the checker's, and a string file
// that does not read builds nothing and says where it fails first.
function compareDamaged() {
    const data = path.join(source, 'data');
    const good = { font: path.join(data, 'font.src'), env: path.join(data, 'env.src'), string: path.join(data, 'string.src') };
    const lines = fs.readFileSync(good.string, 'latin1').split('\n');
    const dir = scratchWith(good);
    // Every significant line made unreadable in turn would be slow; a few
    // kinds of damage at a few places are the property's sample.
    const significant = lines.map((l, i) => i).filter((i) => lines[i].trim() && !lines[i].trim().startsWith('#'));
    for (const at of [significant[0], significant[Math.floor(significant.length / 2)], significant.at(-1)]) {
        for (const damage of [(l) => l.replace(/[0-9.]+/, 'x'), () => '', (l) => l + ' \xe9\x01']) {
            const damaged = [...lines];
            damaged[at] = damage(damaged[at]);
            const text = Buffer.from(damaged.join('\n'), 'latin1');
            fs.writeFileSync(path.join(dir, 'string.src'), text);
            const result = core.build({ font: fs.readFileSync(good.font), env: fs.readFileSync(good.env), string: text });
            const expected = checkerFindings(dir);
            const got = result.findings.map((f) => f.text);
            const hasError = expected.some((l) => l.includes(': error: '));
            // The studio's own picture of it too: a text of Latin-1 bytes
            // still makes a page title.
            let page;
            try {
                page = core.build({ font: fs.readFileSync(good.font), env: fs.readFileSync(good.env), string: text },
                    { format: 'glb', page: true, shadow: true });
            } catch (error) {
                page = { built: false, problem: String(error) };
            }
            check(page.built === result.built, `the page's build agrees (${page.problem || 'built'})`);
            sameWords(`string line ${at + 1} damaged`, exportIn(dir), result);
            check(JSON.stringify(got) === JSON.stringify(expected) && result.built === !hasError,
                `string line ${at + 1} damaged: ${got.length} findings as the checker's ${expected.length}, ` +
                `${result.built ? 'built' : 'not built: ' + result.problem}`);
        }
    }
    fs.rmSync(dir, { recursive: true, force: true });
}

// The module's runtime turns any uncaught error into a throw from its own
// (minified, very long) line: say what failed here instead.
try {
    for (const c of cases()) compare(c);
    compareDamaged();
} catch (error) {
    console.error(String(error && error.stack ? error.stack : error).slice(0, 2000));
    process.exit(1);
}
console.log(failures === 0 ? 'all checks passed' : `${failures} checks failed`);
process.exit(failures === 0 ? 0 : 1);
