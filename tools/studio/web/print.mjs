// The studio's printable solids: the core lays the logo out for a printer
// and closes each part through a signed distance on a grid; manifold-3d
// checks each is a closed solid, takes from each part what earlier parts
// already hold and cuts it flat at the bed; the STL or 3MF is written from
// those.
// Runs in the page's worker and in node alike.

import { zipSync, strToU8 } from 'fflate';

// One part's closed mesh from the core's bytes: its vertices' floats, then
// its triangles' indices.
function partMesh(wasm, part, bytes) {
    const copy = bytes.slice();
    const vertProperties = new Float32Array(copy.buffer, 0, 3 * part.vertices);
    const triVerts = new Uint32Array(copy.buffer, 12 * part.vertices, 3 * part.triangles);
    return new wasm.Manifold(new wasm.Mesh({ numProp: 3, vertProperties, triVerts }));
}

// Edges that more than two triangles share once corners are told apart by
// their place alone, as an STL tells them: where two shells touch.
function pinchedEdges({ vertices, triangles }) {
    const place = new Map();
    const id = (v) => {
        const key = `${vertices[3 * v]},${vertices[3 * v + 1]},${vertices[3 * v + 2]}`;
        if (!place.has(key)) place.set(key, place.size);
        return place.get(key);
    };
    const uses = new Map();
    let pinched = 0;
    for (let i = 0; i < triangles.length; i += 3) {
        const corner = [id(triangles[i]), id(triangles[i + 1]), id(triangles[i + 2])];
        for (let k = 0; k < 3; ++k) {
            const a = corner[k], b = corner[(k + 1) % 3];
            const key = a < b ? a * 0x100000000 + b : b * 0x100000000 + a;
            const n = (uses.get(key) || 0) + 1;
            uses.set(key, n);
            if (n === 3) pinched += 1;
        }
    }
    return pinched;
}

function meshOf(solid) {
    const mesh = solid.getMesh();
    const vertices = new Float32Array(mesh.numVert * 3);
    for (let v = 0; v < mesh.numVert; ++v)
        for (let k = 0; k < 3; ++k) vertices[3 * v + k] = mesh.vertProperties[mesh.numProp * v + k];
    return { vertices, triangles: mesh.triVerts.slice() };
}

// Marching over the grid leaves many small triangles on flat faces: merged
// where that moves the surface less than a twentieth of a grid step, unless
// that makes two shells touch at an edge (then the solid stays as marched).
function simplified(solid, spacing) {
    const simple = solid.simplify(spacing / 20);
    const mesh = meshOf(simple);
    simple.delete();
    return pinchedEdges(mesh) === 0 ? mesh : meshOf(solid);
}

// parts [{name, colour, volume, mesh: {vertices: Float32Array, triangles: Uint32Array}}]
// from the core's result for 'stl' or '3mf' (its print and files): each
// part without what earlier parts hold, cut flat at the bed (z = 0: meshing
// leaves the bottom a hair below it).
export function solidParts(wasm, result) {
    const made = [];
    let held = null;
    result.print.parts.forEach((part, i) => {
        const whole = partMesh(wasm, part, result.files[i].bytes);
        const onBed = whole.trimByPlane([0, 0, 1], 0);
        whole.delete();
        const own = held ? onBed.subtract(held) : onBed;
        const next = held ? wasm.Manifold.union(held, onBed) : onBed;
        if (held) {
            held.delete();
            onBed.delete();
        }
        held = next;
        const mesh = simplified(own, result.print.spacing);
        if (mesh.triangles.length > 0) made.push({ name: part.name, colour: part.colour, volume: own.volume(), mesh });
        if (own !== held) own.delete();
    });
    if (held) held.delete();
    return made;
}

// Binary STL: every part's triangles, each with its facet normal.
export function stlBytes(parts) {
    const count = parts.reduce((n, p) => n + p.mesh.triangles.length / 3, 0);
    const out = new DataView(new ArrayBuffer(84 + 50 * count));
    const header = strToU8('logo3d studio: closed solid, millimetres');
    new Uint8Array(out.buffer).set(header.subarray(0, 80));
    out.setUint32(80, count, true);
    let at = 84;
    for (const { mesh } of parts) {
        const { vertices: v, triangles: t } = mesh;
        for (let i = 0; i < t.length; i += 3) {
            const p = [0, 1, 2].map((c) => [v[3 * t[i + c]], v[3 * t[i + c] + 1], v[3 * t[i + c] + 2]]);
            const u = p[1].map((x, k) => x - p[0][k]), w = p[2].map((x, k) => x - p[0][k]);
            const n = [u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]];
            const length = Math.hypot(...n) || 1;
            for (const x of n) { out.setFloat32(at, x / length, true); at += 4; }
            for (const corner of p) for (const x of corner) { out.setFloat32(at, x, true); at += 4; }
            out.setUint16(at, 0, true);
            at += 2;
        }
    }
    return new Uint8Array(out.buffer);
}

const escapeXml = (text) => text.replace(/[<>&"']/g, (c) => `&#${c.charCodeAt(0)};`);
const hexColour = (colour) => '#' + colour.slice(0, 3).concat([1])
    .map((c) => Math.round(Math.min(Math.max(c, 0), 1) * 255).toString(16).padStart(2, '0')).join('').toUpperCase();

// 3MF: one object, "logo", whose components are the parts, each a mesh
// named after its material with that material's colour.
export function threeMfBytes(parts) {
    const model = [];
    model.push('<?xml version="1.0" encoding="UTF-8"?>',
        '<model unit="millimeter" xml:lang="en-US" xmlns="http://schemas.microsoft.com/3dmanufacturing/core/2015/02">',
        '<resources>', '<basematerials id="1">');
    for (const part of parts) model.push(`<base name="${escapeXml(part.name)}" displaycolor="${hexColour(part.colour)}"/>`);
    model.push('</basematerials>');
    parts.forEach((part, i) => {
        model.push(`<object id="${i + 2}" type="model" name="${escapeXml(part.name)}" pid="1" pindex="${i}">`, '<mesh>', '<vertices>');
        const { vertices: v, triangles: t } = part.mesh;
        const lines = [];
        for (let k = 0; k < v.length; k += 3) lines.push(`<vertex x="${v[k]}" y="${v[k + 1]}" z="${v[k + 2]}"/>`);
        model.push(lines.join('\n'), '</vertices>', '<triangles>');
        lines.length = 0;
        for (let k = 0; k < t.length; k += 3) lines.push(`<triangle v1="${t[k]}" v2="${t[k + 1]}" v3="${t[k + 2]}"/>`);
        model.push(lines.join('\n'), '</triangles>', '</mesh>', '</object>');
    });
    const logo = parts.length + 2;
    model.push(`<object id="${logo}" type="model" name="logo">`, '<components>');
    parts.forEach((part, i) => model.push(`<component objectid="${i + 2}"/>`));
    model.push('</components>', '</object>', '</resources>', '<build>', `<item objectid="${logo}"/>`, '</build>', '</model>');
    return zipSync({
        '[Content_Types].xml': strToU8('<?xml version="1.0" encoding="UTF-8"?>\n' +
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">' +
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>' +
            '<Default Extension="model" ContentType="application/vnd.ms-package.3dmanufacturing-3dmodel+xml"/>' +
            '</Types>'),
        '_rels/.rels': strToU8('<?xml version="1.0" encoding="UTF-8"?>\n' +
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">' +
            '<Relationship Target="/3D/3dmodel.model" Id="rel0" ' +
            'Type="http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel"/>' +
            '</Relationships>'),
        '3D/3dmodel.model': strToU8(model.join('\n')),
    }, { level: 6 });
}

// The core's result for 'stl' or '3mf' made into that file's bytes.
export function printBytes(wasm, result, format) {
    const parts = solidParts(wasm, result);
    if (parts.length === 0) throw new Error('nothing to print: the solid is empty');
    return format === '3mf' ? threeMfBytes(parts) : stlBytes(parts);
}
