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
// /usr/share/doc/sqlite3), QUORVANE_DOC_PACKAGE the Debian package that
// holds it, QUORVANE_DOC_FOLDERS its subfolders read besides its own
// *.html (blank-separated; default c3ref). With QUORVANE_PAGE_ENTRIES=yes
// the list says pageentries="yes": every page must then have an entry of
// its own at the top level, titled as Chromium shows its first h1 (or its
// <title>, or its file name), and none may be "[titre manquant]".

import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { CHROMIUM, FLAGS, loadChromium } from './chromium.mjs';

const DOC_DIR = process.env.QUORVANE_DOC_DIR || '/usr/share/doc/sqlite3';
const DOC_PACKAGE = process.env.QUORVANE_DOC_PACKAGE || 'sqlite3-doc';
const DOC_FOLDERS = (process.env.QUORVANE_DOC_FOLDERS ?? 'c3ref').split(/\s+/).filter(Boolean);
const PAGE_ENTRIES = process.env.QUORVANE_PAGE_ENTRIES === 'yes';

const [quorvane, workDir] = process.argv.slice(2).map((arg) => arg && path.resolve(arg));
if (!quorvane || !workDir) {
  console.error('usage: node html_pages_test.mjs QUORVANE WORK_DIR');
  process.exit(2);
}
const chromium = await loadChromium([[DOC_DIR, DOC_PACKAGE]]);

const faults = [];
const fault = (text) => { faults.push(text); console.log(`FAULT: ${text}`); };
const run = (args) => {
  // In the C locale the check's words are code page 1252, as a run's are in a pipe.
  const env = { ...process.env, LC_ALL: 'C' };
  const done = spawnSync(args[0], args.slice(1), { cwd: workDir, env, maxBuffer: 1 << 28 });
  return { status: done.status, output: new TextDecoder('windows-1252').decode(done.stdout) };
};

// The pages, through a link so that the list names them as "doc/...".
fs.rmSync(workDir, { recursive: true, force: true });
fs.mkdirSync(workDir, { recursive: true });
fs.symlinkSync(DOC_DIR, path.join(workDir, 'doc'));
const htmlIn = (folder) => fs.readdirSync(path.join(DOC_DIR, folder)).filter((name) => name.endsWith('.html'))
  .sort().map((name) => path.posix.join('doc', folder, name));
const pages = ['', ...DOC_FOLDERS].flatMap(htmlIn);
const entriesAttribute = PAGE_ENTRIES ? ' pageentries="yes"' : '';
fs.writeFileSync(path.join(workDir, 'liste.xml'), [`<files title="Documentation" pages="html"${entriesAttribute}>`,
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
// The kinds of findings, by their words up to the first quoted or numbered part.
const kinds = {};
for (const line of check.output.split('\n').filter((l) => / (erreur|avertissement): /.test(l))) {
  const kind = line.replace(/^.*? (erreur|avertissement): /, '$1: ').replace(/(«|<|\(|U\+).*$/, '').trim();
  kinds[kind] = (kinds[kind] ?? 0) + 1;
}
for (const [kind, count] of Object.entries(kinds)) console.log(`  ${count} × ${kind}`);
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
function anchoredHeadings([source, page, pageEntries]) {
  const parsed = new DOMParser().parseFromString(source, 'text/html');
  const cp1252 = new TextDecoder('windows-1252').decode(Uint8Array.from({ length: 256 }, (_, i) => i));
  const anchorOf = (h) => h.getAttribute('id') ?? h.getAttribute('name');
  const textOf = (node) => [...node.childNodes].map((child) => {
    if (child.nodeType === Node.TEXT_NODE) return child.data;
    if (child.nodeType !== Node.ELEMENT_NODE || ['SCRIPT', 'STYLE'].includes(child.tagName)) return '';
    return textOf(child);
  }).join('');
  // Trailing "." and ":" go, unless the title is made only of them.
  const tidy = (text) => {
    const trimmed = text.replace(/[\u0000-\u0020\u00a0]+$/, '');
    const tidied = trimmed.replace(/[\u0000-\u0020\u00a0:.]+$/, '');
    return (/[^\u0000-\u0020\u00a0]/.test(tidied) ? tidied : trimmed)
      .replace(/^[\u0000-\u0020\u00a0]+/, '').replace(/[\n\t]/g, ' ').replace(/ {2,}/g, ' ');
  };
  const inCp1252 = (text) => [...text].map((c) => {
    const code = c.codePointAt(0);
    if (code >= 0x80 && code <= 0x9f) return cp1252[code];
    return cp1252.includes(c) ? c : '?';
  }).join('');
  const anchored = ['id', 'name'].flatMap((a) => [1, 2, 3, 4, 5, 6].map((n) => `h${n}[${a}]`)).join(', ');
  const headings = [...parsed.querySelectorAll('h1, h2, h3, h4, h5, h6')]
    .filter((h) => anchorOf(h) !== null && !h.parentElement.closest(anchored));
  const entries = headings.map((h) => [anchorOf(h) === 'titre' ? page : `${page}#${anchorOf(h)}`,
    inCp1252(tidy(textOf(h)))]);
  if (!pageEntries || headings[0]?.tagName === 'H1') return entries;
  // The page's own entry, before its anchored headings.
  const h1 = parsed.querySelector('h1');
  const title = [h1 && textOf(h1), parsed.querySelector('title')?.textContent]
    .map((text) => (text == null ? '' : tidy(text))).find((text) => text !== '');
  return [[page, inCp1252(title ?? page.replace(/^.*\//, ''))], ...entries];
}

const shown = [];
for (const page of pages) {
  const source = new TextDecoder('utf-8').decode(fs.readFileSync(path.join(workDir, page)));
  shown.push(...await tab.evaluate(anchoredHeadings, [source, page, PAGE_ENTRIES]));
}

// The contents file's entries in order, fillers (no title, no anchor) left out.
const sitemap = fs.readFileSync(path.join(workDir, 'doc.hhc'), 'latin1');
const readSitemap = (source) => [...new DOMParser().parseFromString(source, 'text/html')
  .querySelectorAll('object')].map((object) => ['Local', 'Name']
  .map((name) => object.querySelector(`param[name="${name}"]`)?.getAttribute('value') ?? '')
  .concat(object.parentElement.parentElement.parentElement.tagName === 'BODY'));
const withLevel = await tab.evaluate(readSitemap, sitemap);
const entries = withLevel.filter(([local, name]) => name !== '[titre manquant]' || local.includes('#'))
  .map(([local, name]) => [local, name]);
if (PAGE_ENTRIES) {
  const top = withLevel.filter(([, , topLevel]) => topLevel);
  const untitled = top.filter(([, name]) => name === '' || name === '[titre manquant]');
  if (top.length !== pages.length || untitled.length > 0) {
    fault(`${top.length} top-level entries for ${pages.length} pages, ${untitled.length} without a title`);
  }
  console.log(`page entries: ${top.length} at the top level`);
}
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
