// The studio's worker: builds logos with the WebAssembly core, away from the
// page's thread, so that typing never waits for a build. The page starts it
// from a Blob URL holding the module's script (createLogo3dCore) and this one.
import { wrapCore } from './core.mjs';

/* global createLogo3dCore */
let ready = createLogo3dCore().then(wrapCore);

self.onmessage = async (event) => {
    const { id, files, options } = event.data;
    const core = await ready;
    const started = performance.now();
    let result;
    try {
        result = core.build(files, options);
    } catch (error) {
        result = { built: false, problem: 'the build failed: ' + (error && error.message ? error.message : error), findings: [] };
        // A module that aborted is spent: the next build gets a fresh one.
        ready = createLogo3dCore().then(wrapCore);
    }
    result.buildMs = performance.now() - started;
    const transfer = result.files ? result.files.map((f) => f.bytes.buffer) : [];
    self.postMessage({ id, result }, [...new Set(transfer)]);
};
