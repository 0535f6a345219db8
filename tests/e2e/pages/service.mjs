// What the browser tests and the gallery picture tool share: a real service on loopback with
// a fresh database, sample pages made by zenri-pages, publishing through the gateway with
// zr-publish-pages, and Debian's Chromium driven by playwright-core.

import { spawn, execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

export const CHROMIUM = process.env.ZR_CHROMIUM || '/usr/bin/chromium';

// A temporary folder for one run.
export function workFolder(prefix = 'zr-pages-') {
  return fs.mkdtempSync(path.join(os.tmpdir(), prefix));
}

// Starts `zenri-service serve` on a free loopback port with a new demo database in `work`.
// Resolves to { child, url }; the service log goes to work/service.log.
export async function startService({ serviceBin, site, work }) {
  const db = path.join(work, 'service.db');
  execFileSync(serviceBin, ['init', '--demo', '--hash-cost', 'min', '--db', db]);
  const child = spawn(
    serviceBin,
    ['serve', '--listen', '127.0.0.1:0', '--db', db, '--site', site, '--hash-cost', 'min',
     '--signin-limit', '0', '--register-limit', '0', '--lookup-limit', '0'],
    { stdio: ['ignore', 'pipe', 'pipe'] },
  );
  child.stderr.pipe(fs.createWriteStream(path.join(work, 'service.log')));
  const url = await new Promise((resolve, reject) => {
    let seen = '';
    const timer = setTimeout(() => reject(new Error('the service did not start: ' + seen)), 30000);
    child.stdout.on('data', (chunk) => {
      seen += chunk;
      const m = /listening on (http:\/\/\S+)/.exec(seen);
      if (m) {
        clearTimeout(timer);
        resolve(m[1]);
      }
    });
    child.on('exit', (code) => reject(new Error(`the service ended (${code}): ${seen}`)));
  });
  return { child, url };
}

// Writes the GBK page of a style to `file`. options: floating, empty, fill, boxes (box index ->
// the text that box holds, whatever the others hold), templates.
export function makePage({ pagesBin, serviceUrl, style, options = {}, file }) {
  const list = ['sample', String(style), '--service', serviceUrl];
  if (options.floating) list.push('--floating');
  if (options.empty) list.push('--empty');
  if (options.fill !== undefined) list.push('--fill', options.fill);
  for (const [box, text] of Object.entries(options.boxes || {})) list.push('--box', box, text);
  if (options.templates) list.push('--templates', options.templates);
  fs.writeFileSync(file, execFileSync(pagesBin, list, { maxBuffer: 64 << 20 }));
}

// The boxes of a style as zenri-pages lists them.
export function entriesOf({ pagesBin, serviceUrl, style }) {
  return JSON.parse(execFileSync(pagesBin, ['entries', String(style), '--service', serviceUrl]));
}

// Publishes NAME=FILE pairs, each under an account of its own.
export function publish({ publishBin, serviceUrl, pages }) {
  execFileSync(publishBin, ['--service', serviceUrl, ...pages], { stdio: ['ignore', 'ignore', 'inherit'] });
}

// Chromium as this machine runs it: no sandbox (root), no GPU, no calls home.
export function launchChromium(extraArgs = []) {
  return chromium.launch({
    executablePath: CHROMIUM,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           ...extraArgs],
  });
}
