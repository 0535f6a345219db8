// Draws the gallery's eight preview pictures from the real sample pages: each style's sample
// page is published on a fresh local service and photographed in Debian's Chromium at a
// desktop size, scaled down to the tile picture's 300 x 155.
//
//   node tools/previews/render-previews.mjs [--build build/default]
//
// Needs the built zenri-service, zenri-pages and zr-publish-pages, Chromium and the
// playwright-core of tests/e2e/pages (./test installs both). Writes assets/client/preview-N.png;
// commit them after a look.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchChromium, makePage, publish, startService, workFolder } from '../../tests/e2e/pages/service.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const buildArg = process.argv.indexOf('--build');
const build = path.resolve(root, buildArg > 0 ? process.argv[buildArg + 1] : 'build/default');
const bins = {
  serviceBin: path.join(build, 'src/server/zenri-service'),
  pagesBin: path.join(build, 'tools/zenri-pages/zenri-pages'),
  publishBin: path.join(build, 'tests/e2e/zr-publish-pages'),
};
for (const bin of Object.values(bins)) {
  if (!fs.existsSync(bin)) {
    console.error(`missing ${bin}: build first (cmake --build --preset default)`);
    process.exit(2);
  }
}

// The preview is 300 x 155; the page is shown at four times that and scaled down. Each style
// gets the time its opening animation needs to show what it is.
const VIEW = { width: 1200, height: 620 };
const SETTLE_MS = { 1: 3500, 2: 7000, 3: 9000, 4: 3500, 5: 5000, 6: 4000, 7: 4500, 8: 3500 };

const work = workFolder('zr-previews-');
const service = await startService({ serviceBin: bins.serviceBin, site: path.join(root, 'assets/site'), work });
const pages = [];
for (let style = 1; style <= 8; style++) {
  const file = path.join(work, `p${style}.htm`);
  makePage({ pagesBin: bins.pagesBin, serviceUrl: service.url, style, file });
  pages.push(`preview${style}=${file}`);
}
publish({ publishBin: bins.publishBin, serviceUrl: service.url, pages });

const browser = await launchChromium(['--autoplay-policy=no-user-gesture-required', '--mute-audio']);
try {
  for (let style = 1; style <= 8; style++) {
    const context = await browser.newContext({ viewport: VIEW, deviceScaleFactor: 0.25 });
    const page = await context.newPage();
    await page.goto(`${service.url}/love/preview${style}`, { waitUntil: 'load' });
    await page.waitForTimeout(SETTLE_MS[style]);
    const target = path.join(root, `assets/client/preview-${style}.png`);
    await page.screenshot({ path: target });
    console.log(target);
    await context.close();
  }
} finally {
  await browser.close();
  service.child.kill('SIGTERM');
}
