// Reads a real documentation set from a Debian package (sqlite3-doc: some
// four hundred hand-written and generated HTML pages, most of them with
// unclosed <li> and <p>) as HTML, raw, and checks the result against
// Chromium: the run must succeed, the check must find no error, chmcmd must
// compile the help, and the contents must hold exactly the anchored headings
// that Chromium's DOM shows, in order and with their text.
//
//   node html_pages_test.mjs QUORVANE WORK_DIR
//
// QUORVANE_DOC_DIR names another folder of pages (default
// /usr/share/doc/sqlite3; its *.html and c3ref/*.html are read).

import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { CHROMIUM, FLAGS, loadChromium } from './chromium.mjs';

const DOC_DIR = process.env.QUORVANE_DOC_DIR || '/usr/share/doc/sqlite3';

const [quorvane, workDir] = process.argv.slice(2).map((arg) => arg && path.resolve(arg));
if (!quorvane || !workDir) {
  console.error('usage: node html_pages_test.mjs QUORVANE WORK_DIR');
  process.exit(2);
}
const chromium = await loadChromium([[DOC_DIR, 'sqlite3-doc']]);

const faults = [];
const fault = (text) => { faults.push(text); console.log(`FAULT: ${text}`); };
const run = (args) => {
  const done = spawnSync(args[0], args.slice(1), { cwd: workDir, maxBuffer: 1 << 28 });
  return { status: done.status, output: new TextDecoder('windows-1252').decode(done.stdout) };
};

// The pages, through a link so that the list names them as "doc/...".
fs.rmSync(workDir, { recursive: true, force: true });
fs.mkdirSync(workDir, { recursive: true });
fs.symlinkSync(DOC_DIR, path.join(workDir, 'doc'));
const htmlIn = (folder) => fs.readdirSync(path.join(DOC_DIR, folder)).filter((name) => name.endsWith('.html'))
  .sort().map((name) => path.posix.join('doc', folder, name));
const pages = [...htmlIn(''), ...htmlIn('c3ref')];
fs.writeFileSync(path.join(workDir, 'liste.xml'), ['<files title="Documentation" pages="html">',
  ...pages.map((page) => `  <file name="${page}"/>`), '</files>', ''].join('\n'));
console.log(`${pages.length} pages of ${DOC_DIR}`);

const started = Date.now();
const tool = run([quorvane, 'liste.xml', 'doc']);
console.log(`quorvane: exit ${tool.status} in ${Date.now() - started} ms`);
if (tool.status !== 0) fault(`quorvane exited with ${tool.status}:\n${tool.output.slice(-2000)}`);
const check = run([quorvane, '--check', 'liste.xml']);
const errors = check.output.split('\n').filter((line) => line.includes(': erreur: '));
console.log(check.output.split('\n').filter(Boolean).at(-1));
if (check.status === 2 || errors.length > 0) fault(`--check reports errors:\n${errors.slice(0, 20).join('\n')}`);
const compiler = run(['chmcmd', 'doc.hhp']);
if (compiler.status !== 0 || !fs.existsSync(path.join(workDir, 'doc.chm'))) {
  fault(`chmcmd exited with ${compiler.status}:\n${compiler.output.slice(-2000)}`);
}

const browser = await chromium.launch({ executablePath: CHROMIUM, args: FLAGS });
const tab = await browser.newPage();

// The headings the tool makes contents entries of, as [local, name]: h1-h6
// with an id (or name) outside another such heading; the name as the tool
// writes it (text outside script and style, tidied, in code page 1252). The
// page is parsed by Chromium's own HTML parser, without scripts (as the tool
// reads it, and as the parser then treats <noscript>).
function anchoredHeadings([source, page]) {
  const parsed = new DOMParser().parseFromString(source, 'text/html');
  const cp1252 = new TextDecoder('windows-1252').decode(Uint8Array.from({ length: 256 }, (_, i) => i));
  const anchorOf = (h) => h.getAttribute('id') ?? h.getAttribute('name');
  const textOf = (node) => [...node.childNodes].map((child) => {
    if (child.nodeType === Node.TEXT_NODE) return child.data;
    if (child.nodeType !== Node.ELEMENT_NODE || ['SCRIPT', 'STYLE'].includes(child.tagName)) return '';
    return textOf(child);
  }).join('');
  const tidy = (text) => text.replace(/[\u0000-\u0020\u00a0:.]+$/, '').replace(/^[\u0000-\u0020\u00a0]+/, '')
    .replace(/[\n\t]/g, ' ').replace(/ {2,}/g, ' ');
  const inCp1252 = (text) => [...text].map((c) => {
    const code = c.codePointAt(0);
    if (code >= 0x80 && code <= 0x9f) return cp1252[code];
    return cp1252.includes(c) ? c : '?';
  }).join('');
  const anchored = ['id', 'name'].flatMap((a) => [1, 2, 3, 4, 5, 6].map((n) => `h${n}[${a}]`)).join(', ');
  return [...parsed.querySelectorAll('h1, h2, h3, h4, h5, h6')]
    .filter((h) => anchorOf(h) !== null && !h.parentElement.closest(anchored))
    .map((h) => [anchorOf(h) === 'titre' ? page : `${page}#${anchorOf(h)}`, inCp1252(tidy(textOf(h)))]);
}

const shown = [];
for (const page of pages) {
  const source = new TextDecoder('utf-8').decode(fs.readFileSync(path.join(workDir, page)));
  shown.push(...await tab.evaluate(anchoredHeadings, [source, page]));
}

// The contents file's entries in order, fillers (no title, no anchor) left out.
const sitemap = fs.readFileSync(path.join(workDir, 'doc.hhc'), 'latin1');
const readSitemap = (source) => [...new DOMParser().parseFromString(source, 'text/html')
  .querySelectorAll('object')].map((object) => ['Local', 'Name']
  .map((name) => object.querySelector(`param[name="${name}"]`)?.getAttribute('value') ?? ''));
const entries = (await tab.evaluate(readSitemap, sitemap))
  .filter(([local, name]) => name !== '' || local.includes('#'));
await browser.close();

console.log(`Chromium: ${shown.length} anchored headings; contents: ${entries.length} entries`);
for (let i = 0; i < Math.max(shown.length, entries.length); ++i) {
  const [expected, got] = [shown[i], entries[i]];
  if (JSON.stringify(expected) !== JSON.stringify(got)) {
    fault(`entry ${i + 1}: Chromium shows ${JSON.stringify(expected)}, the contents has ${JSON.stringify(got)}`);
    break;
  }
}
console.log(`${Date.now() - started} ms in all`);
if (faults.length > 0) {
  console.log(`${faults.length} fault(s)`);
  process.exit(1);
}
console.log('the contents holds every anchored heading Chromium shows');
