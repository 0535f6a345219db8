// Browser tests of the eight page styles, as the person who receives the link sees them.
//
// Starts a real service on loopback with a fresh database, makes the sample pages with
// zenri-pages (styles 2 and 3 with and without the floating picture), publishes them through
// the gateway with zr-publish-pages, opens each /love/<name> in Debian's Chromium at a desktop
// size and at a phone size (touch, devicePixelRatio 3) and checks:
//   no uncaught error or console error, no failed request, no response >= 400, no request to
//   another host, no horizontal scrolling on the phone, the title entry as document.title,
//   movement (two screenshots a second apart differ), every sample text on the page, and a
//   first load (every byte until the load event and a short settle, media left out: it loads
//   lazily) of at most 1.5 MB; the heaviest first load and its largest file are printed.
// Then the same pages, at both sizes, with every box empty, with every box holding "'<>& and
// a line break, and with the style's main text box holding a 10,000-character text (every
// other box the "'<>& text): no script error, no failed request or response >= 400, no request
// to another host, the title entry as document.title, no horizontal scrolling on the phone.
//
//   node check-pages.mjs --service-bin B --pages-bin B --publish-bin B --site DIR
//                        [--out DIR] [--only N[,N...]] [--keep] [--templates DIR]
// --out keeps the screenshots (style-N[-variant]-desktop.png / -phone.png) for a look;
// --only limits the run to some styles; --keep leaves the service running at the end;
// --templates makes the pages from the template files of DIR instead of the built-in ones.

import fs from 'node:fs';
import path from 'node:path';
import { entriesOf as listEntries, launchChromium, makePage as writePage, publish, startService,
         workFolder } from './service.mjs';

const args = parseArgs(process.argv.slice(2));
const work = workFolder();
const outDir = args.out ? path.resolve(args.out) : null;
if (outDir) fs.mkdirSync(outDir, { recursive: true });
const only = args.only ? args.only.split(',').map(Number) : [1, 2, 3, 4, 5, 6, 7, 8];

const DESKTOP = { name: 'desktop', viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1 };
const PHONE = {
  name: 'phone',
  viewport: { width: 390, height: 844 },
  deviceScaleFactor: 3,
  isMobile: true,
  hasTouch: true,
  userAgent:
    'Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) ' +
    'Chrome/120.0 Mobile Safari/537.36 MicroMessenger/8.0',
};

// The service refuses pages over 1 MB; a page's first load is to stay within 1.5 MB.
const PAGE_LIMIT = 1 << 20;
const FIRST_LOAD_LIMIT = 1.5 * (1 << 20);

let failures = 0;
let checks = 0;
function check(ok, what) {
  checks++;
  if (!ok) {
    failures++;
    console.log(`not ok - ${what}`);
  }
  return ok;
}

function parseArgs(list) {
  const out = {};
  for (let i = 0; i < list.length; i++) {
    const a = list[i];
    if (!a.startsWith('--')) continue;
    const key = a.slice(2);
    if (key === 'keep') out.keep = true;
    else out[key.replace(/-(\w)/g, (_, c) => c.toUpperCase())] = list[++i];
  }
  for (const need of ['serviceBin', 'pagesBin', 'publishBin', 'site']) {
    if (!out[need]) {
      console.error(`missing --${need.replace(/[A-Z]/g, (c) => '-' + c.toLowerCase())}`);
      process.exit(2);
    }
  }
  return out;
}

function makePage(style, options, file) {
  writePage({ pagesBin: args.pagesBin, serviceUrl: service.url, style,
              options: { ...options, templates: args.templates }, file });
}

function entriesOf(style) {
  return listEntries({ pagesBin: args.pagesBin, serviceUrl: service.url, style });
}

// The text a reader is meant to see for an entry: tags of an HTML entry taken out.
function shownText(box) {
  if (box.kind === 'html') {
    return box.sample
      .replace(/<br\s*\/?>/gi, '\n')
      .replace(/<[^>]*>/g, '')
      .split('\n')
      .map((s) => s.trim())
      .filter(Boolean);
  }
  return [box.sample.trim()].filter(Boolean);
}

async function openPage(browser, profile, address, { reducedMotion = 'no-preference' } = {}) {
  const context = await browser.newContext({
    viewport: profile.viewport,
    deviceScaleFactor: profile.deviceScaleFactor,
    isMobile: !!profile.isMobile,
    hasTouch: !!profile.hasTouch,
    userAgent: profile.userAgent,
    reducedMotion,
  });
  const page = await context.newPage();
  const problems = [];
  const host = new URL(service.url).host;
  page.on('pageerror', (e) => problems.push(`uncaught error: ${e.message}`));
  page.on('console', (m) => {
    if (m.type() === 'error') problems.push(`console error: ${m.text()}`);
  });
  page.on('request', (r) => {
    const u = new URL(r.url());
    if ((u.protocol === 'http:' || u.protocol === 'https:') && u.host !== host) {
      problems.push(`request to another host: ${r.url()}`);
    }
  });
  page.on('requestfailed', (r) => {
    const error = r.failure() ? r.failure().errorText : '';
    // Chromium cancels media downloads on purpose once it has what it needs.
    if (error === 'net::ERR_ABORTED' && r.resourceType() === 'media') return;
    problems.push(`failed request: ${r.url()} ${error}`);
  });
  page.on('response', (r) => {
    if (r.status() >= 400) problems.push(`response ${r.status()}: ${r.url()}`);
  });
  const weight = await measureWeight(context, page);
  await page.goto(address, { waitUntil: 'load' });
  return { context, page, problems, weight };
}

// Counts the bytes the page has received so far (headers and bodies as they came over the
// wire) for every finished request but media, which the pages load lazily and which Chromium
// fetches in ranges as it plays. weight() gives the sum and the largest single response.
async function measureWeight(context, page) {
  const cdp = await context.newCDPSession(page);
  const kinds = new Map();
  const finished = [];
  cdp.on('Network.responseReceived', (e) => kinds.set(e.requestId, { type: e.type, url: e.response.url }));
  cdp.on('Network.loadingFinished', (e) => {
    const seen = kinds.get(e.requestId);
    if (seen && seen.type !== 'Media') finished.push({ url: seen.url, bytes: e.encodedDataLength });
  });
  await cdp.send('Network.enable');
  return () => {
    let total = 0;
    let largest = { url: '', bytes: 0 };
    for (const r of finished) {
      total += r.bytes;
      if (r.bytes > largest.bytes) largest = r;
    }
    return { total, largest };
  };
}

const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

async function checkSample(browser, style, variant, name, entries) {
  const address = `${service.url}/love/${name}`;
  const label = `style ${style}${variant ? ' ' + variant : ''}`;
  const texts = entries.boxes.filter((b) => b.kind === 'text' || b.kind === 'html').flatMap(shownText);
  const title = entries.boxes[entries.titleBox].sample;

  for (const profile of [DESKTOP, PHONE]) {
    const { context, page, problems, weight } = await openPage(browser, profile, address);
    await page.waitForTimeout(1200);
    const load = weight();
    firstLoads.push({ label: `${label} ${profile.name}`, ...load });
    check(load.total <= FIRST_LOAD_LIMIT,
          `${label} ${profile.name}: first load ${kb(load.total)} within ${kb(FIRST_LOAD_LIMIT)} (largest ${load.largest.url} ${kb(load.largest.bytes)})`);
    const first = await page.screenshot();
    await page.waitForTimeout(1000);
    const second = await page.screenshot();
    if (outDir) {
      fs.writeFileSync(path.join(outDir, `style-${style}${variant ? '-' + variant : ''}-${profile.name}.png`), second);
    }
    check(!first.equals(second), `${label} ${profile.name}: the page moves (two screenshots a second apart differ)`);
    check((await page.title()) === title, `${label} ${profile.name}: document.title is "${title}", not "${await page.title()}"`);
    if (profile === PHONE) {
      const overflow = await page.evaluate(() => ({
        scroll: document.documentElement.scrollWidth,
        width: window.innerWidth,
      }));
      // Content wider than the phone makes the browser lay the page out wider and zoom out.
      check(overflow.scroll <= overflow.width + 1 && overflow.width <= profile.viewport.width,
            `${label} phone: no horizontal scrolling (content ${overflow.scroll}, layout ${overflow.width}, screen ${profile.viewport.width})`);
      // A tap starts the music where the page has any.
      await page.touchscreen.tap(profile.viewport.width / 2, profile.viewport.height / 2);
      await page.waitForTimeout(300);
    }
    for (const p of problems) check(false, `${label} ${profile.name}: ${p}`);
    await context.close();
  }

  // With less motion every text is there at once; it must all be on the page (outside the
  // hidden block the scripts read their entries from).
  const { context, page, problems } = await openPage(browser, PHONE, address, { reducedMotion: 'reduce' });
  await page.waitForTimeout(800);
  const shown = await page.evaluate(() => {
    const copy = document.body.cloneNode(true);
    copy.querySelectorAll('#zr-entries, script, style, template, noscript').forEach((e) => e.remove());
    return copy.textContent.replace(/\s+/g, ' ');
  });
  for (const text of texts) {
    const wanted = text.replace(/\s+/g, ' ');
    check(shown.includes(wanted), `${label}: the text "${wanted.slice(0, 40)}" is on the page`);
  }
  for (const p of problems) check(false, `${label} (less motion): ${p}`);
  await context.close();
}

// The page's title as document.title gives it: white space collapsed and trimmed.
const titleOf = (entry) => entry.replace(/[\t\n\f\r ]+/g, ' ').trim();

async function checkRobust(browser, item, entries) {
  const { style, variant, name } = item;
  const label = `style ${style} ${variant}`;
  const address = `${service.url}/love/${name}`;
  const entryOf = (box) =>
    item.options.boxes && box in item.options.boxes ? item.options.boxes[box]
      : item.options.empty ? '' : item.options.fill.replace(/\\n/g, '\n');
  const title = titleOf(entryOf(entries.titleBox));

  for (const profile of [DESKTOP, PHONE]) {
    const { context, page, problems } = await openPage(browser, profile, address);
    await page.waitForTimeout(1500);
    if (outDir) {
      await page.screenshot({ path: path.join(outDir, `style-${style}-${variant}-${profile.name}.png`) });
    }
    check((await page.title()) === title,
          `${label} ${profile.name}: document.title is "${title.slice(0, 40)}", not "${(await page.title()).slice(0, 40)}"`);
    // A touch on the phone, a click on the desktop: the music starts, the page answers.
    if (profile.hasTouch) {
      await page.touchscreen.tap(profile.viewport.width / 2, profile.viewport.height / 3);
    } else {
      await page.mouse.click(profile.viewport.width / 2, profile.viewport.height / 3);
    }
    await page.waitForTimeout(300);
    for (const p of problems) check(false, `${label} ${profile.name}: ${p}`);
    if (profile === PHONE) {
      const overflow = await page.evaluate(() => ({
        scroll: document.documentElement.scrollWidth,
        width: window.innerWidth,
      }));
      check(overflow.scroll <= overflow.width + 1 && overflow.width <= profile.viewport.width,
            `${label} phone: no horizontal scrolling (content ${overflow.scroll}, layout ${overflow.width})`);
    }
    await context.close();
  }
}

const service = await startService({ serviceBin: args.serviceBin, site: args.site, work });
console.log(`# service at ${service.url}`);
const HOSTILE = `"'<>&\\n"'<>&`;
// 10,000 characters, in the style's main text box: in every box it would take the page of a
// style with many boxes (79 in style 7) over the service's limit of 1 MB, at two bytes a
// character.
const LONG = '我想和你一起慢慢变老'.repeat(1000);
if (LONG.length !== 10000) throw new Error('the long text is not 10,000 characters');

// The box that holds most of a style's words: the text box with the longest sample.
function mainTextBox(entries) {
  const texts = entries.boxes.filter((b) => b.kind === 'text' || b.kind === 'html');
  return texts.reduce((a, b) => (b.sample.length > a.sample.length ? b : a)).index;
}

const plan = [];
for (const style of only) {
  plan.push({ style, variant: '', options: {} });
  if (style === 2 || style === 3) plan.push({ style, variant: 'floating', options: { floating: true } });
  plan.push({ style, variant: 'empty', options: { empty: true } });
  plan.push({ style, variant: 'quotes', options: { fill: HOSTILE } });
  plan.push({ style, variant: 'long', options: { fill: HOSTILE, boxes: { [mainTextBox(entriesOf(style))]: LONG } } });
}
const publishList = [];
for (const item of plan) {
  item.name = `s${item.style}${item.variant.replace(/[^a-z]/g, '')}`;
  item.file = path.join(work, `${item.name}.htm`);
  makePage(item.style, item.options, item.file);
  const size = fs.statSync(item.file).size;
  check(size <= PAGE_LIMIT, `style ${item.style} ${item.variant}: the page (${size} bytes) is within the service's limit`);
  publishList.push(`${item.name}=${item.file}`);
}
const firstLoads = [];
publish({ publishBin: args.publishBin, serviceUrl: service.url, pages: publishList });

// Sound only after a tap, as on a phone.
const browser = await launchChromium(['--autoplay-policy=user-gesture-required']);
try {
  for (const item of plan) {
    const before = failures;
    if (item.variant === '' || item.variant === 'floating') {
      await checkSample(browser, item.style, item.variant, item.name, entriesOf(item.style));
    } else {
      await checkRobust(browser, item, entriesOf(item.style));
    }
    console.log(`${failures === before ? 'ok' : 'not ok'} - style ${item.style}${item.variant ? ' ' + item.variant : ''}`);
  }
} finally {
  await browser.close();
  if (!args.keep) service.child.kill('SIGTERM');
  else console.log(`# service left running at ${service.url} (pid ${service.child.pid})`);
}
if (firstLoads.length) {
  const heaviest = firstLoads.reduce((a, b) => (b.total > a.total ? b : a));
  const largest = firstLoads.reduce((a, b) => (b.largest.bytes > a.largest.bytes ? b : a)).largest;
  console.log(`# heaviest first load: ${heaviest.label}, ${kb(heaviest.total)} (${heaviest.total} bytes)`);
  console.log(`# largest file of a first load: ${largest.url}, ${kb(largest.bytes)}`);
}
console.log(`# ${checks} checks, ${failures} failed`);
process.exit(failures ? 1 : 0);
