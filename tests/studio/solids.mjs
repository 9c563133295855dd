// Reads the studio's print files and tells whether each shell is a closed
// solid: corners welded where they coincide, every edge used by exactly two
// triangles in opposite directions, the volume positive.
import { unzipSync, strFromU8 } from 'fflate';

// Triangles as [[x, y, z] x 3] from a binary STL.
export function stlTriangles(bytes) {
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    const count = view.getUint32(80, true);
    if (bytes.length !== 84 + 50 * count) throw new Error(`an STL of ${count} triangles is ${84 + 50 * count} bytes, not ${bytes.length}`);
    const triangles = [];
    for (let i = 0; i < count; ++i) {
        const at = 84 + 50 * i + 12;
        triangles.push([0, 1, 2].map((c) => [0, 1, 2].map((k) => view.getFloat32(at + 12 * c + 4 * k, true))));
    }
    return triangles;
}

// The 3MF's parts: [{name, colour, extruder, triangles}], each a range of
// the one object's triangles as PrusaSlicer's description gives it, and how
// many objects the model holds.
export function threeMfParts(bytes) {
    const files = unzipSync(bytes);
    const model = strFromU8(files['3D/3dmodel.model']);
    const config = files['Metadata/Slic3r_PE_model.config'] ? strFromU8(files['Metadata/Slic3r_PE_model.config']) : '';
    const materials = [...model.matchAll(/<base name="([^"]*)" displaycolor="([^"]*)"/g)].map((m) => ({ name: m[1], colour: m[2] }));
    const objects = [...model.matchAll(/<object id="(\d+)"[^>]*>([\s\S]*?)<\/object>/g)];
    const body = objects.length === 1 ? objects[0][2] : '';
    const vertices = [...body.matchAll(/<vertex x="([^"]+)" y="([^"]+)" z="([^"]+)"/g)].map((m) => m.slice(1, 4).map(Number));
    const triangles = [...body.matchAll(/<triangle v1="(\d+)" v2="(\d+)" v3="(\d+)" pid="1" p1="(\d+)"/g)]
        .map((m) => ({ corners: m.slice(1, 4).map((i) => vertices[Number(i)]), material: Number(m[4]) }));
    const parts = [];
    for (const volume of config.matchAll(/<volume firstid="(\d+)" lastid="(\d+)">([\s\S]*?)<\/volume>/g)) {
        const range = triangles.slice(Number(volume[1]), Number(volume[2]) + 1);
        const name = (volume[3].match(/key="name" value="([^"]*)"/) || [])[1];
        const extruder = Number((volume[3].match(/key="extruder" value="(\d+)"/) || [])[1]);
        const material = range.length > 0 && range.every((t) => t.material === range[0].material) ? materials[range[0].material] : undefined;
        parts.push({ name, colour: material?.name === name ? material.colour : undefined, extruder, triangles: range.map((t) => t.corners) });
    }
    return { parts, objects: objects.length, files: Object.keys(files), built: /<item objectid=/.test(model) };
}

// {closed, shells-independent counts, volume} of triangles given by corners.
export function checkSolid(triangles) {
    const ids = new Map();
    const id = (p) => {
        const key = p.join(',');
        if (!ids.has(key)) ids.set(key, ids.size);
        return ids.get(key);
    };
    const edges = new Map();
    let volume = 0;
    for (const [a, b, c] of triangles) {
        const v = [id(a), id(b), id(c)];
        for (let i = 0; i < 3; ++i) {
            const from = v[i], to = v[(i + 1) % 3];
            const key = from < to ? `${from}-${to}` : `${to}-${from}`;
            const count = edges.get(key) || [0, 0];
            count[from < to ? 0 : 1] += 1;
            edges.set(key, count);
        }
        volume += (a[0] * (b[1] * c[2] - b[2] * c[1]) + a[1] * (b[2] * c[0] - b[0] * c[2]) + a[2] * (b[0] * c[1] - b[1] * c[0])) / 6;
    }
    let open = 0, overused = 0, misturned = 0;
    for (const [forward, backward] of edges.values()) {
        if (forward + backward === 1) open += 1;
        else if (forward + backward > 2) overused += 1;
        else if (forward !== 1) misturned += 1;
    }
    return { closed: open === 0 && overused === 0 && misturned === 0 && triangles.length > 0, open, overused, misturned, volume };
}

// The .obj and .mtl inside the studio's zip, by name.
export function objFiles(bytes) {
    const files = unzipSync(bytes);
    return Object.fromEntries(Object.entries(files).map(([name, data]) => [name, strFromU8(data)]));
}
