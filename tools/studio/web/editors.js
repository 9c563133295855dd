// The three editors (CodeMirror 6, line numbers and the usual keys), each in
// an element carrying data-file="NAME", and the checker's findings marked on
// their lines: each marked line carries data-finding="FILE:LINE".

import { basicSetup } from 'codemirror';
import { EditorView, Decoration } from '@codemirror/view';
import { StateEffect, StateField } from '@codemirror/state';

const setFindings = StateEffect.define();

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

    // Puts the cursor on a line of a file and shows it.
    reveal(name, line) {
        const view = this.views.get(name);
        if (!view || line < 1 || line > view.state.doc.lines) return;
        const at = view.state.doc.line(line).from;
        view.dispatch({ selection: { anchor: at }, scrollIntoView: true });
        view.focus();
    }
}
