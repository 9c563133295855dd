// logo3d-studio.html: edit the three data files, see the logo change as you
// type, export it. The program's own core (WebAssembly, in a worker) reads
// the files, reports the checker's findings and builds the .glb; three.js
// draws it as the exported page does.

import { Editors } from './editors.js';
import { LogoView } from '../../web/logo-view.js';
import { zipSync } from 'fflate';
import { bytesOfText, download, fileSlotOf, textOfBytes, unpack } from './files.js';

const kFiles = ['font.src', 'env.src', 'string.src'];
const kTypingPause = 100;  // ms without a key before a build starts
const kStorageKey = 'logo3d-studio-files';

const assets = JSON.parse(document.getElementById('logo3d-assets').textContent);
const $ = (id) => document.getElementById(id);

// The worker, started from a Blob URL: works from file:// where a worker's
// script could not be fetched.
function startWorker() {
    const source = $('logo3d-core').textContent + '\n' + $('logo3d-worker').textContent;
    const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
    return new Worker(url);
}

class Studio {
    constructor() {
        this.worker = startWorker();
        this.pending = new Map();
        this.nextId = 1;
        this.worker.onmessage = (event) => {
            const { id, result } = event.data;
            this.pending.get(id)(result);
            this.pending.delete(id);
        };
        this.lastFindings = [];
        this.lastBuildMs = 0;
        this.buildsDone = 0;
        // The logo takes the wheel at once, loops its motion and makes pictures.
        this.view = new LogoView($('picture'), { pictures: true, loop: true });
        this.editors = new Editors($('editors'), kFiles, () => this.edited());
        this.buildTimer = null;
        this.building = false;
        this.again = false;
    }

    call(files, options) {
        const id = this.nextId++;
        return new Promise((resolve) => {
            this.pending.set(id, resolve);
            this.worker.postMessage({ id, files, options });
        });
    }

    files() {
        return { font: this.editors.get('font.src'), env: this.editors.get('env.src'), string: this.editors.get('string.src') };
    }

    edited() {
        clearTimeout(this.buildTimer);
        this.buildTimer = setTimeout(() => this.rebuild(), kTypingPause);
        this.keep();
    }

    keep() {
        try {
            localStorage.setItem(kStorageKey, JSON.stringify(Object.fromEntries(kFiles.map((f) => [f, this.editors.get(f)]))));
        } catch {
            // Storage full or refused: the work stays in the editors.
        }
    }

    // One build at a time; edits during a build start one more after it.
    async rebuild() {
        if (this.building) {
            this.again = true;
            return;
        }
        this.building = true;
        this.buildTimer = null;
        const started = performance.now();
        const files = this.files();
        const result = await this.call(files, { format: 'glb', page: true, shadow: true });
        const returned = performance.now();
        this.lastFindings = result.findings;
        this.editors.mark(result.findings);
        // The values' places are those of the files as built; a file that did
        // not read still says where its values stand up to where it failed.
        if (this.settledText(files)) this.editors.showValues(result.values);
        this.listFindings(result);
        if (result.built) {
            await this.view.show(result.bytes, result.pageConfig);
            this.timing = { worker: returned - started, show: performance.now() - returned };
            this.title = result.title;
            this.figures = result.figures;
        }
        this.lastBuildMs = performance.now() - started;
        this.builtFiles = files;
        this.coreMs = result.buildMs;
        this.buildsDone += 1;
        $('status').textContent = result.built
            ? `${result.figures.written.toLocaleString()} triangles, built in ${Math.round(result.buildMs)} ms`
            : `not built: ${result.problem} (the last logo that built stays on screen)`;
        document.documentElement.dataset.built = String(result.built);
        this.building = false;
        if (this.again) {
            this.again = false;
            this.rebuild();
        }
    }

    // True when the editors still hold the files a build was given.
    settledText(files) {
        const now = this.files();
        return ['font', 'env', 'string'].every((k) => files[k] === now[k]);
    }

    // True when the logo on screen (or the findings, for files that do not
    // build) come from the files in the editors, and nothing waits to build.
    settled() {
        const now = this.files();
        return !this.buildTimer && !this.building && Boolean(this.builtFiles) &&
            ['font', 'env', 'string'].every((k) => this.builtFiles[k] === now[k]) && !this.view.awaitingFrame;
    }

    listFindings(result) {
        const list = $('findings');
        list.replaceChildren();
        for (const finding of result.findings) {
            const item = document.createElement('li');
            item.className = `finding-${finding.severity}`;
            item.textContent = finding.text;
            item.addEventListener('click', () => this.editors.reveal(finding.file, finding.line));
            list.appendChild(item);
        }
        $('findings-title').textContent = result.findings.length === 0 ? 'No findings' : `Findings (${result.findings.length})`;
    }

    setFiles(files, quietly) {
        for (const [name, text] of Object.entries(files)) this.editors.set(name, text, true);
        if (!quietly) this.edited();
    }

    async useFont(name) {
        const face = assets.faces.find((f) => f.name === name);
        if (!face) throw new Error('no such face: ' + name);
        this.setFiles({ 'font.src': textOfBytes(await unpack(face.data)) });
        $('face').value = name;
    }

    async loadExample(name) {
        const example = assets.examples.find((e) => e.name === name);
        if (!example) throw new Error('no such example: ' + name);
        const files = {};
        for (const file of kFiles) files[file] = textOfBytes(await unpack(example.files[file] || assets.defaults[file]));
        this.setFiles(files);
        $('example').value = name;
        // The face menu names the face in the font editor, when it is one of its own.
        $('face').value = example.files['font.src'] ? '' : 'default';
    }

    async exportFile(format, options = {}) {
        if (format === 'png') {
            const width = options.width || 1200, height = options.height || 900;
            return this.view.picture(width, height, options.transparent === true);
        }
        return (await this.exportDownload(format, options)).bytes;
    }

    // The file the user gets for a format: its name and bytes. Several files
    // (the .obj with its .mtl) come as one .zip.
    async exportDownload(format, options = {}) {
        if (format === 'png') return { name: 'logo.png', bytes: await this.exportFile(format, options) };
        const result = await this.call(this.files(), {
            format, shadow: options.shadow === true, weld: options.weld === true,
            width: options.width, base: options.base, margin: options.margin, text: options.text,
        });
        if (!result.built) throw new Error(result.problem);
        if (result.files.length > 1)
            return { name: `logo-${format}.zip`, bytes: zipSync(Object.fromEntries(result.files.map((f) => [f.name, f.bytes]))) };
        return { name: `logo.${format}`, bytes: result.bytes };
    }

    async openFiles(fileList, slot) {
        for (const file of fileList) {
            const name = slot || fileSlotOf(file.name);
            this.setFiles({ [name]: textOfBytes(new Uint8Array(await file.arrayBuffer())) });
        }
    }
}

function fillMenu(select, names, first) {
    select.replaceChildren(new Option(first, ''));
    for (const name of names) select.appendChild(new Option(name, name));
}

function wire(studio) {
    fillMenu($('face'), assets.faces.map((f) => f.name), 'Face…');
    fillMenu($('example'), assets.examples.map((e) => e.name), 'Example…');
    $('face').addEventListener('change', (e) => e.target.value && studio.useFont(e.target.value));
    $('example').addEventListener('change', (e) => e.target.value && studio.loadExample(e.target.value));
    $('open-input').addEventListener('change', (e) => studio.openFiles(e.target.files));
    $('open').addEventListener('click', () => $('open-input').click());
    $('save').addEventListener('click', () => {
        for (const name of kFiles) download(name, bytesOfText(studio.editors.get(name)), 'text/plain');
    });
    $('export').addEventListener('change', async (e) => {
        const format = e.target.value;
        e.target.value = '';
        if (!format) return;
        try {
            const print = (id, fallback) => {
                const value = Number($(id).value);
                return $(id).value !== '' && Number.isFinite(value) && value >= 0 ? value : fallback;
            };
            const { name, bytes } = await studio.exportDownload(format, {
                transparent: true, shadow: format !== 'stl' && format !== '3mf',
                width: print('print-width', 0), base: print('print-base', 0), margin: print('print-margin', 3),
            });
            download(name, bytes);
        } catch (error) {
            $('status').textContent = `cannot export .${format}: ${error.message}`;
        }
    });
    // Dropped on an editor: into that editor; anywhere else: by name.
    document.addEventListener('dragover', (e) => e.preventDefault());
    document.addEventListener('drop', (e) => {
        e.preventDefault();
        const editor = e.target.closest && e.target.closest('[data-file]');
        studio.openFiles(e.dataTransfer.files, editor && e.dataTransfer.files.length === 1 ? editor.dataset.file : null);
    }, true);
}

// The work the browser kept, or null (none, or storage refused).
function keptFiles() {
    try {
        return JSON.parse(localStorage.getItem(kStorageKey) || 'null');
    } catch {
        return null;
    }
}

async function start() {
    const studio = new Studio();
    wire(studio);
    const kept = keptFiles();
    const files = {};
    for (const name of kFiles)
        files[name] = kept && typeof kept[name] === 'string' ? kept[name] : textOfBytes(await unpack(assets.defaults[name]));
    studio.setFiles(files, true);
    studio.view.onShown = () => {
        if (document.documentElement.dataset.ready !== 'true')
            requestAnimationFrame(() => { document.documentElement.dataset.ready = 'true'; });
    };
    // The handle tests and scripts drive the studio by.
    window.logo3dStudio = {
        setFile: (name, text) => {
            if (!kFiles.includes(name)) throw new Error('no such file: ' + name);
            studio.setFiles({ [name]: text });
        },
        getFile: (name) => studio.editors.get(name),
        findings: () => studio.lastFindings.map((f) => ({ ...f })),
        export: (format, options) => studio.exportFile(format, options),
        fonts: () => assets.faces.map((f) => f.name),
        useFont: (name) => studio.useFont(name),
        examples: () => assets.examples.map((e) => e.name),
        loadExample: (name) => studio.loadExample(name),
        get framesDrawn() { return studio.view.framesDrawn; },
        get view() { return { ...studio.view.view }; },
        get lastBuildMs() { return studio.lastBuildMs; },
        get coreBuildMs() { return studio.coreMs; },
        get timing() { return studio.timing; },
        get trianglesShown() { return studio.view.trianglesShown; },
        get buildsDone() { return studio.buildsDone; },
        get settled() { return studio.settled(); },
    };
    studio.rebuild();
}

start().catch((error) => {
    document.documentElement.dataset.ready = 'error';
    $('status').textContent = 'The studio cannot start: ' + error.message;
});
