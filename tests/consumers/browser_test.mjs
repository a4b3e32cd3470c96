// Opens the example's frameset in headless Chromium and uses it as a reader
// would: the contents page must show the whole contents tree, a click on an
// entry must open its page in the "main" frame at the anchor and mark the
// entry as current, an entry's toggle must fold its sub-entries away and back,
// and the index page must show the sorted keywords with their groups and
// filter them as one types; index.html?ctx= must open a context's page.
//
//   node browser_test.mjs WORK_DIR ARTIFACT_DIR
//
// WORK_DIR is where the tool ran on the example (aide.hhc, aide.hhk, aide/).
// Screenshots of the frameset are written to ARTIFACT_DIR.

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { CHROMIUM, FLAGS, loadChromium } from './chromium.mjs';


const [workDir, artifactDir] = process.argv.slice(2).map((arg) => arg && path.resolve(arg));
if (!workDir || !artifactDir) {
  console.error('usage: node browser_test.mjs WORK_DIR ARTIFACT_DIR');
  process.exit(2);
}
const chromium = await loadChromium();

const faults = [];
const fault = (text) => { faults.push(text); console.log(`FAULT: ${text}`); };

// The list below an element, as a tree of {label, href, group, children}, read
// from a rendered page or from a sitemap file parsed as HTML.
function readTree(source) {
  const root = source === undefined ? document.body
    : new DOMParser().parseFromString(source, 'text/html').body;
  const visible = (element) => element.checkVisibility();
  const walk = (list) => [...list.children].filter((li) => li.tagName === 'LI').map((li) => {
    const nested = li.querySelector(':scope > ul');
    const object = li.querySelector(':scope > object');
    if (object) {
      const param = (name) => object.querySelector(`param[name="${name}"]`)?.getAttribute('value') ?? null;
      return { label: param('Name'), href: param('Local'), group: param('Local') === null,
        children: nested ? walk(nested) : [] };
    }
    const link = li.querySelector(':scope > a');
    const span = li.querySelector(':scope > span.nolink');
    const shown = link ?? span ?? li;
    return { label: shown.textContent.trim(), href: link?.getAttribute('href') ?? null,
      group: !link && !!span, target: link?.getAttribute('target') ?? null,
      visible: visible(shown), children: nested ? walk(nested) : [] };
  });
  const list = root.querySelector('ul');
  return list ? walk(list) : [];
}

const flatten = (tree, depth = 1) => tree.flatMap((node) => [{ ...node, depth }, ...flatten(node.children, depth + 1)]);

// First difference between two trees, compared on label, href and group.
function difference(shown, expected, where = '') {
  for (let i = 0; i < Math.max(shown.length, expected.length); i++) {
    const a = shown[i];
    const b = expected[i];
    const at = `${where}/${i + 1}`;
    if (!a || !b) return `${at}: shown ${JSON.stringify(a?.label)}, expected ${JSON.stringify(b?.label)}`;
    for (const key of ['label', 'href', 'group']) {
      if (a[key] !== b[key]) return `${at} ${key}: shown ${JSON.stringify(a[key])}, expected ${JSON.stringify(b[key])}`;
    }
    const deeper = difference(a.children, b.children, at);
    if (deeper) return deeper;
  }
  return null;
}

// The sitemap tree as the page should show it: links are relative to aide/,
// and the HTML index keeps a "#titre" fragment that the sitemap leaves out.
function expectedTree(sitemapTree) {
  return sitemapTree.map((node) => ({ ...node,
    href: node.href === null ? null : node.href.replace(/^aide\//, ''),
    children: expectedTree(node.children) }));
}
const withoutTitre = (tree) => tree.map((node) => ({ ...node,
  href: node.href?.replace(/#titre$/, '') ?? null, children: withoutTitre(node.children) }));

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvane-chromium-'));
fs.mkdirSync(artifactDir, { recursive: true });
const context = await chromium.launchPersistentContext(profile, {
  executablePath: CHROMIUM, headless: true, args: FLAGS, viewport: { width: 1100, height: 640 },
});
try {
  context.setDefaultTimeout(10_000);
  context.on('request', (request) => {
    if (!request.url().startsWith('file:')) fault(`request outside the help set: ${request.url()}`);
  });
  context.on('requestfailed', (request) => fault(`could not load ${request.url()}: ${request.failure()?.errorText}`));
  const page = context.pages()[0] ?? await context.newPage();
  page.on('pageerror', (error) => fault(`script error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') fault(`console error: ${message.text()} (${message.location().url})`);
  });

  const frameset = pathToFileURL(path.join(workDir, 'aide', 'index.html')).href;
  await page.goto(frameset, { waitUntil: 'load' });
  const main = page.frame({ name: 'main' });
  const navigation = page.frames().find((frame) => frame !== page.mainFrame() && frame !== main);
  if (!main || !navigation) throw new Error('the frameset has no frame named "main" beside a navigation frame');
  const pageUrl = (href) => new URL(href, navigation.url()).href;

  // Opens the entry href from the navigation frame and checks that the main
  // frame shows its page with the anchor at the top (or scrolled as far as it goes).
  async function openEntry(href) {
    const target = pageUrl(href);
    await navigation.locator(`a[href="${href}"]`).first().click();
    await main.waitForURL(target);
    const id = decodeURIComponent(new URL(target).hash.slice(1));
    let place = null;
    for (let attempt = 0; attempt < 20; attempt++) {
      place = await main.evaluate((anchor) => {
        const element = document.getElementById(anchor) ?? document.querySelector(`a[name="${CSS.escape(anchor)}"]`);
        if (!element) return null;
        const bottom = document.documentElement.scrollHeight - window.innerHeight;
        return { top: element.getBoundingClientRect().top, scrollY: window.scrollY, bottom };
      }, id);
      if (place && (Math.abs(place.top) <= 1 || (place.scrollY >= place.bottom - 1 && place.top > 0))) return place;
      await main.waitForTimeout(50);
    }
    fault(`${href}: the main frame shows ${main.url()} with "${id}" ${place ? `at ${place.top}px (scrolled ${place.scrollY}px of ${place.bottom}px)` : 'missing'}`);
    return null;
  }

  // The contents page against the contents file.
  const hhc = fs.readFileSync(path.join(workDir, 'aide.hhc'), 'latin1');
  const contents = await navigation.evaluate(readTree);
  const contentsExpected = expectedTree(await navigation.evaluate(readTree, hhc));
  const contentsDifference = difference(contents, contentsExpected);
  if (contentsDifference) fault(`contents page differs from aide.hhc at ${contentsDifference}`);
  const contentsEntries = flatten(contents);
  for (const entry of contentsEntries) {
    if (!entry.visible) fault(`contents entry "${entry.label}" is not shown`);
    if (entry.target !== 'main') fault(`contents entry "${entry.label}" opens in ${entry.target ?? 'its own frame'}`);
  }
  // Code page 1252's typographic characters show as themselves, not as
  // control characters.
  const typographic = contentsEntries.find((entry) => entry.href?.endsWith('#typographie'));
  const missing = [...'\u2019\u00ab\u00bb\u2026\u2014\u20ac\u0152'].filter((c) => !typographic?.label.includes(c));
  if (!typographic || missing.length) fault(`typographic title ${JSON.stringify(typographic?.label)} lacks ${missing.join(' ')}`);
  const contentsDepth = Math.max(0, ...contentsEntries.map((entry) => entry.depth));
  console.log(`contents page: ${contentsEntries.length} entries on ${contentsDepth} levels${contentsDifference ? '' : ', as in aide.hhc'}`);

  const withFragment = [...new Set(contentsEntries.map((entry) => entry.href).filter((href) => href?.includes('#')))];
  // An anchor with a markup character, written as a reference, leads to its heading.
  if (!withFragment.some((href) => href.includes('&'))) fault('no contents entry has an anchor with "&"');
  let scrolled = 0;
  for (const href of withFragment) {
    const place = await openEntry(href);
    if (place && place.scrollY > 0) scrolled++;
  }
  if (page.url() !== frameset) fault(`the frameset was replaced by ${page.url()}`);
  if (withFragment.length === 0 || scrolled === 0) fault('no contents entry with a fragment scrolled its page');
  console.log(`contents clicks: ${withFragment.length} entries with a fragment opened in "main" at their anchor (${scrolled} needed scrolling)`);
  const deep = withFragment.find((href) => href.startsWith('pages/installation.html#')) ?? withFragment.at(-1);
  await openEntry(deep);
  const current = await navigation.locator('a[aria-current]').evaluateAll((links) => links.map((link) => link.getAttribute('href')));
  if (current.length !== 1 || current[0] !== deep) fault(`after a click on ${deep} the contents mark ${JSON.stringify(current)} as current`);
  const contentsShot = path.join(artifactDir, 'frameset-contents.png');
  await page.screenshot({ path: contentsShot });

  // A page entry with sub-entries below the first level: its toggle folds
  // them away, then shows them again.
  const folder = contentsEntries.find((entry) => entry.depth === 2 && entry.children.length > 0);
  const toggle = navigation.locator(`li:has(> a[href="${folder.href}"]) > button[aria-expanded]`);
  const collapsedShot = path.join(artifactDir, 'frameset-contents-collapsed.png');
  for (const open of [false, true]) {
    await toggle.click();
    const node = flatten(await navigation.evaluate(readTree)).find((entry) => entry.href === folder.href);
    const wrong = flatten(node.children).filter((entry) => entry.visible !== open);
    if (!node.visible || wrong.length) fault(`"${folder.label}" ${open ? 'opened' : 'folded'}: ${node.visible ? '' : 'the entry is hidden, '}${wrong.length} sub-entries ${open ? 'hidden' : 'shown'}`);
    if (await toggle.getAttribute('aria-expanded') !== String(open)) fault(`"${folder.label}" ${open ? 'opened' : 'folded'}: aria-expanded is not ${open}`);
    if (!open) await page.screenshot({ path: collapsedShot });
  }
  console.log(`contents toggle: "${folder.label}" folds its ${flatten(folder.children).length} sub-entries away and back`);

  // The index page, reached from the contents page's own link.
  await navigation.locator('a[href="motscles.html"]').click();
  await navigation.waitForURL(pageUrl('motscles.html'));
  const hhk = fs.readFileSync(path.join(workDir, 'aide.hhk'), 'latin1');
  const index = await navigation.evaluate(readTree);
  const indexExpected = expectedTree(await navigation.evaluate(readTree, hhk));
  const indexDifference = difference(withoutTitre(index), indexExpected);
  if (indexDifference) fault(`index page differs from aide.hhk at ${indexDifference}`);
  const collator = new Intl.Collator('fr', { sensitivity: 'accent' });
  let misplaced = 0;
  const checkOrder = (level, where) => {
    for (let i = 1; i < level.length; i++) {
      if (collator.compare(level[i - 1].label, level[i].label) > 0) {
        misplaced++;
        fault(`index${where}: "${level[i - 1].label}" is shown before "${level[i].label}"`);
      }
    }
    for (const node of level) checkOrder(node.children, `${where} > ${node.label}`);
  };
  checkOrder(index, '');
  const indexEntries = flatten(index);
  const groups = indexEntries.filter((entry) => entry.group);
  for (const entry of indexEntries) {
    if (!entry.visible) fault(`index entry "${entry.label}" is not shown`);
    if (entry.group && entry.children.length === 0) fault(`index group "${entry.label}" has no keywords`);
    if (!entry.group && entry.target !== 'main') fault(`index entry "${entry.label}" opens in ${entry.target ?? 'its own frame'}`);
  }
  if (groups.length === 0) fault('the index page shows no "nolink" group');
  console.log(`index page: ${indexEntries.length} entries${indexDifference ? '' : ' as in aide.hhk'}${misplaced ? '' : ', every level in French order'}, groups ${groups.map((g) => `"${g.label}"`).join(', ')} shown as "nolink"`);
  const keyword = indexEntries.find((entry) => entry.depth === 2 && entry.href?.includes('#') && !entry.href.endsWith('#titre'));
  if (keyword) {
    await openEntry(keyword.href);
    console.log(`index click: "${keyword.label}" opened ${keyword.href} in "main"`);
  }
  const indexShot = path.join(artifactDir, 'frameset-index.png');
  await page.screenshot({ path: indexShot });

  // The filter box: an entry stays shown when it, an entry above it or one
  // below it contains the typed text, ignoring case, accents, the apostrophe's
  // form and whether a ligature is written as one letter or two.
  const fold = (text) => text.normalize('NFD').replace(/\p{M}/gu, '').toLowerCase()
    .replace(/[‘’`´]/g, "'").replace(/œ/g, 'oe').replace(/æ/g, 'ae');
  const filterBox = navigation.locator('input[type="search"]');
  const filteredShot = path.join(artifactDir, 'frameset-index-filtered.png');
  const filters = [
    { typed: 'ETIQUET', shown: 'some' },  // "étiquettes", whatever the case and accents
    { typed: 'ctrl+f', shown: 'some', shot: filteredShot },  // keywords of a group keep it
    { typed: "l'editeur", shown: 'some' },  // "L’éditeur"
    { typed: 'coeur', shown: 'some' },  // "cœur"
    { typed: 'aegide', shown: 'some' },  // "Ægide"
    { typed: 'xyzzy', shown: 'none' },
    { typed: '', shown: 'all' },
  ];
  for (const { typed, shown, shot } of filters) {
    await filterBox.fill(typed);
    const words = fold(typed);
    const matches = (entry) => fold(entry.label).includes(words);
    const check = (nodes, aboveMatches) => {
      for (const node of nodes) {
        const expected = aboveMatches || matches(node) || flatten(node.children).some(matches);
        if (node.visible !== expected) fault(`filter "${typed}": "${node.label}" is ${node.visible ? 'shown' : 'hidden'}`);
        check(node.children, aboveMatches || matches(node));
      }
    };
    const tree = await navigation.evaluate(readTree);
    check(tree, false);
    const count = flatten(tree).filter((entry) => entry.visible).length;
    const expectedCount = { none: count === 0, some: count > 0 && count < indexEntries.length, all: count === indexEntries.length };
    if (!expectedCount[shown]) fault(`filter "${typed}": ${count} of ${indexEntries.length} entries shown`);
    console.log(`index filter "${typed}": ${count} of ${indexEntries.length} entries shown`);
    if (shot) {
      await page.screenshot({ path: shot });
      const first = flatten(tree).find((entry) => entry.visible && entry.href);
      await filterBox.press('Enter');
      await main.waitForURL(pageUrl(first.href));
    }
  }
  console.log(`screenshots: ${contentsShot} ${collapsedShot} ${indexShot} ${filteredShot}`);

  // Context-sensitive help: index.html?ctx= with a context's number or name
  // opens its page in "main", at its anchor when the mark has one; an unknown
  // context leaves the default page.
  const contextRows = [
    { ctx: '1001', shows: 'pages/premiere-note.html#enregistrement' },
    { ctx: 'IDH_ENREGISTRER', shows: 'pages/premiere-note.html#enregistrement' },
    { ctx: '01002', shows: 'pages/etiquettes.html#couleurs' },  // a mark on a table
    { ctx: 'IDH_RECHERCHE', shows: 'pages/recherche.html' },  // a mark on the page
    { ctx: '1005', shows: 'pages/raccourcis.html#couper&coller' },
    { ctx: 'IDH_INCONNU', shows: 'pages/introduction.html' },
    { ctx: '9999', shows: 'pages/introduction.html' },
    { ctx: 'constructor', shows: 'pages/introduction.html' },
  ];
  for (const { ctx, shows } of contextRows) {
    await page.goto(`${frameset}?ctx=${encodeURIComponent(ctx)}`, { waitUntil: 'load' });
    const expected = new URL(shows, frameset).href;
    const shown = page.frame({ name: 'main' });
    await shown.waitForURL(expected, { timeout: 3000 }).catch(() => {});
    if (shown.url() !== expected) fault(`?ctx=${ctx}: the main frame shows ${shown.url()}, not ${shows}`);
    if (page.frames().length !== 3) fault(`?ctx=${ctx}: ${page.frames().length - 1} frames instead of 2`);
  }
  console.log(`contexts: ${contextRows.length} ?ctx= values open their page in "main" or leave the default one`);
} catch (error) {
  fault(error.stack ?? String(error));
} finally {
  await context.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
if (faults.length) {
  console.log(`${faults.length} faults`);
  process.exit(1);
}
console.log('the frameset works in Chromium');
