// The program's export as JavaScript sees it: one call, the three files'
// bytes and the settings in; the files' bytes, the checker's findings, the
// warnings and report lines (as logo3d-export prints them) and a few figures
// out. Wraps the module that emscripten built (createLogo3dCore), in the
// page's worker and in node alike.

function bytesOf(file) {
    if (typeof file === 'string') return new TextEncoder().encode(file);
    return file instanceof Uint8Array ? file : new Uint8Array(file);
}

// The studio's options as the exporter's settings: format ('glb', 'gltf',
// 'obj', 'stl', 'html', '3mf'), page (the studio's own picture: no shadow in
// the model, the page's settings beside it), shadow, weld,
// millimetresPerUnit, loopSeconds, frame, text; width, base, margin,
// baseMaterial, voxel (a print's layout, STL and 3MF).
export function settingsOf(options = {}) {
    const format = options.format || 'glb';
    return {
        output: options.output || `logo.${format}`,
        picture: options.page === true,
        values: options.page === true,
        shadow: options.shadow === true,
        weld: options.weld === true,
        embed: format === 'gltf',
        scale: options.millimetresPerUnit ?? 1,
        seconds: options.loopSeconds ?? 3,
        frame: options.frame ?? -1,
        text: options.text ?? '',
        print: {
            width: options.width ?? 0, base: options.base ?? 0, margin: options.margin ?? 3,
            baseMaterial: options.baseMaterial ?? 0, voxel: options.voxel ?? 0,
            allowFloating: options.allowFloating === true,
            ...(options.steps !== undefined ? { steps: options.steps } : {}),
        },
    };
}

export function wrapCore(module) {
    const call = (parts, settings) => {
        const text = new TextEncoder().encode(JSON.stringify(settings) + '\0');
        const pointers = [...parts, text].map((bytes) => {
            const at = module._malloc(Math.max(bytes.length, 1));
            module.HEAPU8.set(bytes, at);
            return at;
        });
        try {
            return module.UTF8ToString(module._logo3d_export(
                pointers[0], parts[0].length, pointers[1], parts[1].length, pointers[2], parts[2].length, pointers[3]));
        } finally {
            pointers.forEach((at) => module._free(at));
        }
    };
    return {
        // files: { font, env, string } as strings (written as UTF-8) or bytes.
        build(files, options = {}) {
            const parts = [files.font, files.env, files.string].map(bytesOf);
            const result = JSON.parse(call(parts, settingsOf(options)));
            const at = module._logo3d_bytes();
            const all = module.HEAPU8.slice(at, at + module._logo3d_byte_count());
            // Several files (the .obj and its .mtl) come one after the other.
            let from = 0;
            result.files = (result.files || []).map(({ name, size }) => {
                const file = { name, bytes: all.subarray(from, from + size) };
                from += size;
                return file;
            });
            result.bytes = result.files.length > 0 ? result.files[result.files.length - 1].bytes : new Uint8Array(0);
            module._logo3d_release();
            return result;
        },
    };
}
