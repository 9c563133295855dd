// The studio's worker: builds logos with the WebAssembly core, away from the
// page's thread, so that typing never waits for a build. The page starts it
// from a Blob URL holding the module's script (createLogo3dCore) and this one.
import Manifold from 'manifold-3d';
import { wrapCore } from './core.mjs';
import { unpack } from './files.js';
import { printBytes } from './print.mjs';

/* global createLogo3dCore, logo3dManifoldWasm */
let ready = createLogo3dCore().then(wrapCore);

// manifold-3d, made the first time a print is asked for, from its module
// kept in the page (gzip, base64), never fetched.
let manifold = null;
function loadManifold() {
    if (!manifold) {
        // locateFile: the module would otherwise make a URL of where its script
        // came from, which a bundled worker from a Blob has none of.
        manifold = unpack(logo3dManifoldWasm).then((wasmBinary) => Manifold({ wasmBinary, locateFile: (name) => name })).then((wasm) => {
            wasm.setup();
            return wasm;
        });
    }
    return manifold;
}

self.onmessage = async (event) => {
    const { id, files, options } = event.data;
    const core = await ready;
    const started = performance.now();
    let result;
    try {
        result = core.build(files, options);
        if (result.built && (options.format === 'stl' || options.format === '3mf')) {
            result.bytes = printBytes(await loadManifold(), result, options.format);
            result.files = [];
        }
    } catch (error) {
        result = { built: false, problem: 'the build failed: ' + (error && error.message ? error.message : error), findings: [] };
        // A module that aborted is spent: the next build gets a fresh one.
        ready = createLogo3dCore().then(wrapCore);
    }
    result.buildMs = performance.now() - started;
    self.postMessage({ id, result }, result.bytes ? [result.bytes.buffer] : []);
};
