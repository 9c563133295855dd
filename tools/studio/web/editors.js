// The three editors (CodeMirror 6, line numbers and the usual keys), each in
// an element carrying data-file="NAME", and the checker's findings marked on
// their lines: each marked line carries data-finding="FILE:LINE".

import { basicSetup } from 'codemirror';
import { EditorView, Decoration, WidgetType, hoverTooltip } from '@codemirror/view';
import { StateEffect, StateField } from '@codemirror/state';

const setFindings = StateEffect.define();
const setValues = StateEffect.define();

// The decorations of one editor's findings, rebuilt whenever the findings
// change and moved with the text in between.
const findingMarks = StateField.define({
    create: () => Decoration.none,
    update(marks, transaction) {
        marks = marks.map(transaction.changes);
        for (const effect of transaction.effects) if (effect.is(setFindings)) marks = effect.value;
        return marks;
    },
    provide: (field) => EditorView.decorations.from(field),
});

// What the readers took each number for, as marks that move with the text,
// and a colour picker before each colour (red, green, blue, alpha).
const valueMarks = StateField.define({
    create: () => ({ marks: Decoration.none, swatches: Decoration.none }),
    update(values, transaction) {
        let next = { marks: values.marks.map(transaction.changes), swatches: values.swatches.map(transaction.changes) };
        for (const effect of transaction.effects) if (effect.is(setValues)) next = effect.value;
        return next;
    },
    provide: (field) => [EditorView.decorations.from(field, (v) => v.marks), EditorView.decorations.from(field, (v) => v.swatches)],
});

// The character of a line at a UTF-8 byte offset (the readers count bytes).
function characterAt(text, byte) {
    let bytes = 0;
    let i = 0;
    while (i < text.length && bytes < byte) {
        const code = text.codePointAt(i);
        bytes += code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        i += code >= 0x10000 ? 2 : 1;
    }
    return i;
}

const hex = (v) => Math.round(Math.min(Math.max(Number(v), 0), 1) * 255).toString(16).padStart(2, '0');
const shown = (v) => String(Number(v.toFixed(3)));

class Swatch extends WidgetType {
    constructor(colour) {
        super();
        this.colour = colour;
    }

    eq(other) {
        return other.colour === this.colour;
    }

    toDOM(view) {
        const input = document.createElement('input');
        input.type = 'color';
        input.className = 'swatch';
        input.value = this.colour;
        input.title = 'Pick the colour: rewrites red, green and blue';
        input.addEventListener('input', () => {
            // The colour's numbers where they stand now.
            const at = view.posAtDOM(input);
            const line = view.state.doc.lineAt(at);
            const parts = [];
            view.state.field(valueMarks).marks.between(line.from, line.to, (from, to, mark) => {
                if (from >= at && parts.length < 3) parts.push({ from, to, name: valueOfMark.get(mark).name });
            });
            if (parts.length < 3 || parts[0].name !== 'red') return;
            const rgb = [1, 3, 5].map((k) => parseInt(input.value.substr(k, 2), 16) / 255);
            view.dispatch({ changes: { from: parts[0].from, to: parts[2].to, insert: rgb.map(shown).join(' ') } });
        });
        return input;
    }

    ignoreEvent() {
        return true;
    }
}

// What the reader took each marked number for, kept by its decoration.
const valueOfMark = new WeakMap();

function valueMark(field, name) {
    const mark = Decoration.mark({ attributes: { 'data-value': name, 'data-field': field } });
    valueOfMark.set(mark, { field, name });
    return mark;
}

function valuesOf(doc, file, values) {
    const marks = [];
    const swatches = [];
    const spans = values.spans;
    const fileIndex = ['font.src', 'env.src', 'string.src'].indexOf(file);
    for (let k = 0; k < spans.length; k += 6) {
        if (spans[k] !== fileIndex || spans[k + 1] < 1 || spans[k + 1] > doc.lines) continue;
        const line = doc.line(spans[k + 1]);
        const from = line.from + characterAt(line.text, spans[k + 2]);
        const to = line.from + characterAt(line.text, spans[k + 3]);
        if (to <= from || to > line.to) continue;
        const field = values.names[spans[k + 4]], name = values.names[spans[k + 5]];
        marks.push(valueMark(field, name).range(from, to));
        // A colour: red, green, blue and alpha of one field on one line.
        if (name === 'red' && k + 23 < spans.length &&
            [1, 2, 3].every((j) => spans[k + 6 * j] === fileIndex && spans[k + 6 * j + 1] === spans[k + 1] &&
                spans[k + 6 * j + 4] === spans[k + 4]) &&
            ['green', 'blue', 'alpha'].every((n, j) => values.names[spans[k + 6 * (j + 1) + 5]] === n)) {
            const rgb = [0, 1, 2].map((j) => {
                const s = spans[k + 6 * j + 2], e = spans[k + 6 * j + 3];
                return line.text.slice(characterAt(line.text, s), characterAt(line.text, e));
            });
            swatches.push(Decoration.widget({ widget: new Swatch('#' + rgb.map(hex).join('')), side: -1 }).range(from));
        }
    }
    return { marks: Decoration.set(marks, true), swatches: Decoration.set(swatches, true) };
}

// Hovering a number says which value of which field the reader took it for.
const valueTip = hoverTooltip((view, pos) => {
    let found = null;
    view.state.field(valueMarks).marks.between(pos, pos, (from, to, mark) => {
        found = { from, to, ...valueOfMark.get(mark) };
        return false;
    });
    if (!found) return null;
    return {
        pos: found.from,
        end: found.to,
        above: true,
        create() {
            const dom = document.createElement('div');
            dom.className = 'value-tip';
            dom.textContent = `${found.field}: ${found.name}`;
            return { dom };
        },
    };
}, { hoverTime: 150 });

function marksOf(doc, file, findings) {
    const byLine = new Map();
    for (const finding of findings) {
        if (finding.line < 1 || finding.line > doc.lines) continue;
        const worst = byLine.get(finding.line);
        if (!worst || finding.severity === 'error') byLine.set(finding.line, finding);
    }
    const ranges = [...byLine.keys()].sort((a, b) => a - b).map((line) => {
        const finding = byLine.get(line);
        return Decoration.line({
            class: `finding finding-${finding.severity}`,
            attributes: {
                'data-finding': `${file}:${line}`,
                title: findings.filter((f) => f.line === line).map((f) => `${f.severity}: ${f.field}: ${f.message}`).join('\n'),
            },
        }).range(doc.line(line).from);
    });
    return Decoration.set(ranges);
}

export class Editors {
    // names: the files in order; onEdit(name) after every change of a text.
    constructor(container, names, onEdit) {
        this.views = new Map();
        for (const name of names) {
            const box = document.createElement('section');
            box.className = 'editor';
            box.dataset.file = name;
            const title = document.createElement('h2');
            title.textContent = name;
            box.appendChild(title);
            container.appendChild(box);
            const view = new EditorView({
                parent: box,
                extensions: [
                    basicSetup,
                    findingMarks,
                    valueMarks,
                    valueTip,
                    EditorView.updateListener.of((update) => {
                        if (update.docChanged && !this.quiet) onEdit(name);
                    }),
                ],
            });
            this.views.set(name, view);
        }
    }

    get(name) {
        return this.views.get(name).state.doc.toString();
    }

    // Replaces a whole text; tells onEdit unless quietly.
    set(name, text, quietly = false) {
        const view = this.views.get(name);
        if (!view) throw new Error('no such file: ' + name);
        this.quiet = quietly;
        view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
        this.quiet = false;
    }

    mark(findings) {
        for (const [name, view] of this.views) {
            const own = findings.filter((f) => f.file === name);
            view.dispatch({ effects: setFindings.of(marksOf(view.state.doc, name, own)) });
        }
    }

    // values: the core's {names, spans} of the last build that read.
    showValues(values) {
        if (!values) return;
        for (const [name, view] of this.views)
            view.dispatch({ effects: setValues.of(valuesOf(view.state.doc, name, values)) });
    }

    // Puts the cursor on a line of a file and shows it.
    reveal(name, line) {
        const view = this.views.get(name);
        if (!view || line < 1 || line > view.state.doc.lines) return;
        const at = view.state.doc.line(line).from;
        view.dispatch({ selection: { anchor: at }, scrollIntoView: true });
        view.focus();
    }
}
