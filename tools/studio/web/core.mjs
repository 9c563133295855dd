// The studio's core as JavaScript sees it: one call, the three files' bytes
// and the options in; the file's bytes, the checker's findings and a few
// figures out. Wraps the module that emscripten built (createLogo3dCore),
// in the page's worker and in node alike.

const kFormats = { glb: 0, gltf: 1, obj: 2, stl: 3, html: 4, '3mf': 5 };

function bytesOf(file) {
    if (typeof file === 'string') return new TextEncoder().encode(file);
    return file instanceof Uint8Array ? file : new Uint8Array(file);
}

export function wrapCore(module) {
    return {
        // files: { font, env, string } as strings (written as UTF-8) or bytes.
        // options: format ('glb', 'gltf', 'obj', 'stl', 'html', '3mf'), page
        // (the studio's own picture: no shadow in the model, the page's
        // settings beside it), shadow, weld, millimetresPerUnit, loopSeconds,
        // frame; width, base, margin (a print's layout, STL and 3MF, whose
        // result is the parts' distance grids: see print.mjs).
        build(files, options = {}) {
            const format = kFormats[options.format || 'glb'];
            if (format === undefined) throw new Error('unknown format: ' + options.format);
            const parts = [files.font, files.env, files.string].map(bytesOf);
            const pointers = parts.map((bytes) => {
                const at = module._malloc(Math.max(bytes.length, 1));
                module.HEAPU8.set(bytes, at);
                return at;
            });
            try {
                const flags = (options.page ? 1 : 0) | (options.shadow ? 2 : 0) | (options.weld ? 4 : 0);
                const json = module.UTF8ToString(module._logo3d_build(
                    pointers[0], parts[0].length, pointers[1], parts[1].length, pointers[2], parts[2].length,
                    format, flags, options.millimetresPerUnit ?? 1, options.loopSeconds ?? 3,
                    options.frame ?? -1, options.width ?? 0, options.base ?? 0, options.margin ?? 3));
                const result = JSON.parse(json);
                const at = module._logo3d_bytes();
                result.bytes = module.HEAPU8.slice(at, at + module._logo3d_byte_count());
                // Several files (the .obj and its .mtl) come one after the other.
                let from = 0;
                result.files = (result.files || []).map(({ name, size }) => {
                    const file = { name, bytes: result.bytes.subarray(from, from + size) };
                    from += size;
                    return file;
                });
                module._logo3d_release();
                return result;
            } finally {
                pointers.forEach((at) => module._free(at));
            }
        },
    };
}
