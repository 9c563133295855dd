// Reads the triangles of a .glb's "logo" node: their count and the box of
// their corners, in font units (the file's metres times millimetresPerUnit
// 1000), enough to compare two builds of one logo.

export function readGlb(bytes) {
    const buffer = Buffer.from(bytes);
    if (buffer.readUInt32LE(0) !== 0x46546c67) throw new Error('not a .glb');
    const jsonLength = buffer.readUInt32LE(12);
    const json = JSON.parse(buffer.subarray(20, 20 + jsonLength).toString('utf8'));
    const binStart = 20 + jsonLength + 8;
    const bin = buffer.subarray(binStart, binStart + buffer.readUInt32LE(20 + jsonLength));
    return { json, bin };
}

function accessorData(glb, index) {
    const accessor = glb.json.accessors[index];
    const view = glb.json.bufferViews[accessor.bufferView];
    const offset = (view.byteOffset || 0) + (accessor.byteOffset || 0);
    const width = { SCALAR: 1, VEC2: 2, VEC3: 3, VEC4: 4 }[accessor.type];
    const stride = view.byteStride || 0;
    const read = {
        5126: (at) => glb.bin.readFloatLE(at), 5125: (at) => glb.bin.readUInt32LE(at),
        5123: (at) => glb.bin.readUInt16LE(at), 5121: (at) => glb.bin.readUInt8(at),
    }[accessor.componentType];
    const size = { 5126: 4, 5125: 4, 5123: 2, 5121: 1 }[accessor.componentType];
    const out = [];
    for (let i = 0; i < accessor.count; ++i)
        for (let k = 0; k < width; ++k) out.push(read(offset + i * (stride || width * size) + k * size));
    return out;
}

export function logoTriangles(bytes, nodeName = 'logo') {
    const glb = readGlb(bytes);
    const node = glb.json.nodes.find((n) => n.name === nodeName);
    const summary = { triangles: 0, min: [Infinity, Infinity, Infinity], max: [-Infinity, -Infinity, -Infinity] };
    if (!node) return summary;
    for (const primitive of glb.json.meshes[node.mesh].primitives) {
        const positions = accessorData(glb, primitive.attributes.POSITION);
        const indices = accessorData(glb, primitive.indices);
        summary.triangles += indices.length / 3;
        for (const i of indices)
            for (let k = 0; k < 3; ++k) {
                const unit = positions[i * 3 + k] * 1000;
                summary.min[k] = Math.min(summary.min[k], unit);
                summary.max[k] = Math.max(summary.max[k], unit);
            }
    }
    return summary;
}
