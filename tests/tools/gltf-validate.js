#!/usr/bin/env node
// Runs the Khronos glTF validator on each file given and prints every issue
// it reports. Exits with 1 when any file has an error or a warning, so a
// test fails on either; infos and hints are printed only.
'use strict';

const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

async function validate(file) {
    const bytes = new Uint8Array(fs.readFileSync(file));
    const report = await validator.validateBytes(bytes, {
        uri: path.basename(file),
        maxIssues: 0,
        externalResourceFunction: (uri) =>
            fs.promises.readFile(path.resolve(path.dirname(file), decodeURIComponent(uri))).then((b) => new Uint8Array(b)),
    });
    const issues = report.issues;
    for (const message of issues.messages) {
        const kind = ['error', 'warning', 'info', 'hint'][message.severity];
        console.log(`${file}: ${kind}: ${message.code}: ${message.message} (${message.pointer || message.offset || ''})`);
    }
    const info = report.info || {};
    console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ${issues.numInfos} infos, ` +
                `${issues.numHints} hints; ${info.totalTriangleCount} triangles, ${info.animationCount} animations`);
    return issues.numErrors === 0 && issues.numWarnings === 0;
}

(async () => {
    const files = process.argv.slice(2);
    if (files.length === 0) {
        console.error('usage: gltf-validate.js FILE.glb|FILE.gltf ...');
        process.exit(2);
    }
    let clean = true;
    for (const file of files) clean = (await validate(file)) && clean;
    process.exit(clean ? 0 : 1);
})().catch((error) => {
    console.error(String(error));
    process.exit(1);
});
