// ESLint over the browser code of the web page and the studio and its node
// tests (tests/tools/check-web-code runs it): the recommended rules, and no
// function longer than 60 lines of code. CommonJS, as node takes a .js file
// of this package.
'use strict';

const js = require('@eslint/js');
const globals = require('globals');

const checked = ['tools/web/**/*.js', 'tools/studio/web/**/*.{js,mjs}', 'tests/web/**/*.{js,mjs}'];

module.exports = [
    { ignores: ['build*/', 'node_modules/'] },
    { files: checked, ...js.configs.recommended },
    {
        files: checked,
        languageOptions: { ecmaVersion: 2022, sourceType: 'module', globals: { ...globals.browser } },
        rules: { 'max-lines-per-function': ['error', { max: 60, skipBlankLines: true, skipComments: true }] },
    },
    // The studio's worker, and its core, which node runs too.
    { files: ['tools/studio/web/worker.js', 'tools/studio/web/core.mjs'], languageOptions: { globals: { ...globals.worker } } },
    { files: ['tests/web/**/*.{js,mjs}'], languageOptions: { globals: { ...globals.node } } },
];
