#!/usr/bin/env node
// Writes logo3d-studio.html, one file with everything inside: the core's
// module (for the worker), the page's and the worker's scripts, and the
// default files, the faces and the examples, each
// gzip-compressed.
// Usage: make-page.mjs SOURCE_DIR CORE.js PAGE.bundle.js WORKER.bundle.js OUT.html
import fs from 'fs';
import path from 'path';
import zlib from 'zlib';

const [source, corePath, pagePath, workerPath, outPath] = process.argv.slice(2);
const kFiles = ['font.src', 'env.src', 'string.src'];

const packed = (file) => zlib.gzipSync(fs.readFileSync(file), { level: 9 }).toString('base64');

// "</script" would end the element; "<\/script" is the same to JavaScript in
// the strings and regular expressions where it can stand.
const inScript = (text) => text.replace(/<\/script/gi, '<\\/script').replace(/<!--/g, '<\\!--');

function assets() {
    const data = path.join(source, 'data');
    const defaults = Object.fromEntries(kFiles.map((f) => [f, packed(path.join(data, f))]));
    const hershey = path.join(source, 'fonts', 'hershey');
    const faces = [{ name: 'default', data: defaults['font.src'] }];
    for (const file of fs.readdirSync(hershey).filter((f) => f.endsWith('.src')).sort())
        faces.push({ name: file.replace(/\.src$/, ''), data: packed(path.join(hershey, file)) });
    const examples = [];
    const root = path.join(source, 'examples');
    for (const name of fs.readdirSync(root).sort()) {
        const dir = path.join(root, name);
        if (!fs.existsSync(path.join(dir, 'string.src'))) continue;
        const files = {};
        for (const f of kFiles) if (fs.existsSync(path.join(dir, f))) files[f] = packed(path.join(dir, f));
        const about = path.join(dir, 'description.txt');
        examples.push({ name, description: fs.existsSync(about) ? fs.readFileSync(about, 'utf8').trim() : '', files });
    }
    return { defaults, faces, examples };
}

const page = `<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="generator" content="logo3d studio">
<title>logo3d studio</title>
<style>
html, body { margin: 0; height: 100%; font: 14px sans-serif; }
body { display: grid; grid-template-columns: minmax(320px, 42%) 1fr; grid-template-rows: auto 1fr auto; height: 100vh; }
header { grid-column: 1 / 3; display: flex; gap: .5em; align-items: center; padding: .4em .6em; background: #23262b; color: #eee; }
header h1 { font-size: 1em; margin: 0 1em 0 0; }
header select, header button { font: inherit; }
#status { margin-left: auto; opacity: .8; }
header select { max-width: 11em; }
header .print { font-size: .85em; opacity: .9; white-space: nowrap; }
header .print input { width: 3.5em; }
#editors { overflow: auto; border-right: 1px solid #ccc; }
.editor h2 { font-size: .85em; margin: 0; padding: .25em .5em; background: #eef; position: sticky; top: 0; z-index: 2; }
.editor .cm-editor { max-height: 60vh; }
.finding-error { background: #fdd; }
.finding-warning { background: #ffd; }
.cm-line.finding-error { background: #fdd !important; box-shadow: inset 3px 0 #d33; }
.cm-line.finding-warning { background: #ffd !important; box-shadow: inset 3px 0 #cb3; }
.swatch { width: 1.6em; height: 1.1em; padding: 0; border: 1px solid #888; margin-right: .3em; vertical-align: middle; }
.value-tip { padding: .2em .5em; font: 12px sans-serif; }
#picture { position: relative; min-height: 0; overflow: hidden; }
#picture canvas { display: block; touch-action: none; }
#report { grid-column: 1 / 3; max-height: 20vh; overflow: auto; border-top: 1px solid #ccc; padding: .2em .6em; }
#report h2 { font-size: .9em; margin: .2em 0; }
#findings { margin: 0; padding-left: 1.2em; font-family: monospace; }
#findings li { cursor: pointer; }
</style>
</head>
<body>
<header>
<h1>logo3d studio</h1>
<select id="example" title="Put an example's files into the editors"></select>
<select id="face" title="Use a face: the string and environment files stay"></select>
<button id="open" title="Open data files (or drop them here)">Open…</button>
<input id="open-input" type="file" multiple hidden>
<button id="save" title="Save the three files">Save</button>
<select id="export" title="Export the logo">
<option value="">Export…</option><option value="glb">.glb</option><option value="obj">.obj + .mtl</option>
<option value="stl">.stl (solid)</option><option value="3mf">.3mf (parts)</option>
<option value="html">.html</option><option value="png">.png</option>
</select>
<span class="print" title="The .stl and .3mf: millimetres across the whole print (empty: a font unit a millimetre), a plate under it this thick, and the plate's margin">print
<label>--width <input id="print-width" type="number" min="0" step="1" placeholder="auto"></label>
<label>--base <input id="print-base" type="number" min="0" step="0.5" placeholder="0"></label>
<label>--margin <input id="print-margin" type="number" min="0" step="0.5" placeholder="3"></label></span>
<span id="status">starting…</span>
</header>
<main id="editors"></main>
<div id="picture"></div>
<section id="report"><h2 id="findings-title">Findings</h2><ul id="findings"></ul></section>
<script type="application/json" id="logo3d-assets">${inScript(JSON.stringify(assets()))}</script>
<script type="text/plain" id="logo3d-core">${inScript(fs.readFileSync(corePath, 'utf8'))}</script>
<script type="text/plain" id="logo3d-worker">${inScript(fs.readFileSync(workerPath, 'utf8'))}</script>
<script>${inScript(fs.readFileSync(pagePath, 'utf8'))}</script>
</body>
</html>
`;
fs.writeFileSync(outPath, page);
console.log(`${outPath}: ${(page.length / 1e6).toFixed(2)} MB`);
