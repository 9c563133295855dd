// The three data files as bytes and as text: a file that is valid UTF-8 reads
// as UTF-8, any other as Latin-1, as the command-line tools take them; the
// studio saves UTF-8.

export function textOfBytes(bytes) {
    try {
        return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    } catch {
        return new TextDecoder('latin1').decode(bytes);
    }
}

export function bytesOfText(text) {
    return new TextEncoder().encode(text);
}

// Bytes kept compressed in the page (gzip, then base64), unpacked by the
// browser's own DecompressionStream.
export async function unpack(base64) {
    const packed = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
}

// Which editor a dropped or opened file belongs in, by its name.
export function fileSlotOf(name) {
    const lower = name.toLowerCase();
    if (lower.includes('font') || lower.includes('face')) return 'font.src';
    if (lower.includes('env')) return 'env.src';
    return 'string.src';
}

export function download(name, bytes, type = 'application/octet-stream') {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
}
