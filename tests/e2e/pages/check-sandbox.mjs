// A published page is its author's HTML on the service's own address. Here a page tries what a
// hostile author would: read the service's cookies, send a request to the gateway with them,
// and read another published page. The browser must let it do none of that, while the page
// itself still runs its script.
//
//   node check-sandbox.mjs --service-bin B --publish-bin B --site DIR

import fs from 'node:fs';
import path from 'node:path';
import { launchChromium, publish, startService, workFolder } from './service.mjs';

const args = {};
for (let i = 2; i < process.argv.length; i += 2)
  args[process.argv[i].slice(2).replace(/-(\w)/g, (_, c) => c.toUpperCase())] = process.argv[i + 1];

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'not ok'} - ${what}`);
  if (!ok) failures++;
}

const PROBE = `<!DOCTYPE html>
<html><head><meta charset="GBK"><title>probe</title></head><body><pre id="out">running</pre>
<script>
const out = { ran: true };
try { out.cookie = 'read: ' + document.cookie; } catch (e) { out.cookie = 'blocked: ' + e.name; }
try { out.storage = 'read: ' + localStorage.length; } catch (e) { out.storage = 'blocked: ' + e.name; }
const attempt = (promise) => promise.then((t) => 'read: ' + t.slice(0, 40), (e) => 'blocked: ' + e.name);
Promise.all([
  attempt(fetch('/asp/index.asp', { method: 'POST', credentials: 'include',
    headers: { 'Content-Type': 'application/x-www-form-urlencoded' }, body: 'zc=51' })
    .then((r) => r.text())),
  attempt(fetch('/love/other', { credentials: 'include' }).then((r) => r.text())),
  fetch('/asp/index.asp', { method: 'POST', mode: 'no-cors', credentials: 'include',
    headers: { 'Content-Type': 'application/x-www-form-urlencoded' }, body: 'zc=51' })
    .then(() => 'sent', () => 'not sent'),
]).then(([gateway, other, blind]) => {
  Object.assign(out, { gateway, other, blind });
  document.getElementById('out').textContent = JSON.stringify(out);
});
</script></body></html>
`;

const work = workFolder('zr-sandbox-');
const service = await startService({ serviceBin: args.serviceBin, site: args.site, work });
fs.writeFileSync(path.join(work, 'probe.htm'), PROBE);
fs.writeFileSync(path.join(work, 'other.htm'), '<!DOCTYPE html><title>other</title><p>secret of another page');
publish({ publishBin: args.publishBin, serviceUrl: service.url,
          pages: [`probe=${path.join(work, 'probe.htm')}`, `other=${path.join(work, 'other.htm')}`] });

const browser = await launchChromium();
try {
  const context = await browser.newContext();
  // A signed-in session of the service, and a cookie any page of the site could read.
  await context.addCookies([
    { name: 'zr_session', value: 'a'.repeat(64), url: `${service.url}/asp/`, httpOnly: true, sameSite: 'Lax' },
    { name: 'visible', value: 'to-every-page', url: `${service.url}/`, sameSite: 'Lax' },
  ]);
  const page = await context.newPage();
  const gatewayCookies = [];
  page.on('request', async (request) => {
    if (request.url().includes('/asp/'))
      gatewayCookies.push((await request.allHeaders()).cookie || '');
  });
  const response = await page.goto(`${service.url}/love/probe`);
  const headers = response.headers();
  check(/sandbox allow-scripts allow-popups allow-forms/.test(headers['content-security-policy'] || ''),
        'the page comes with the sandbox policy');
  check(headers['x-content-type-options'] === 'nosniff', 'the page comes with nosniff');
  await page.waitForFunction(() => document.getElementById('out').textContent.startsWith('{'),
                             null, { timeout: 15000 });
  const out = JSON.parse(await page.textContent('#out'));
  console.log(`# ${JSON.stringify(out)}`);
  check(out.ran === true, 'the page script runs');
  check(!out.cookie.includes('to-every-page') && !out.cookie.includes('zr_session'),
        'document.cookie shows no cookie of the service');
  check(out.gateway.startsWith('blocked'), 'the gateway answer cannot be read');
  check(out.other.startsWith('blocked'), 'another published page cannot be read');
  await page.waitForTimeout(500);
  check(gatewayCookies.length > 0, 'the page did send its requests to the gateway');
  check(gatewayCookies.every((c) => !c.includes('zr_session') && !c.includes('visible')),
        `no request of the page carried the service's cookies (${JSON.stringify(gatewayCookies)})`);

  // The same browser, at the service's own address, still holds and sends the session.
  const own = await context.newPage();
  const sent = [];
  own.on('request', async (request) => {
    if (request.url().includes('/asp/')) sent.push((await request.allHeaders()).cookie || '');
  });
  await own.goto(`${service.url}/`);
  await own.evaluate(() => fetch('/asp/index.asp', { method: 'POST', body: 'zc=51',
    headers: { 'Content-Type': 'application/x-www-form-urlencoded' } }).then((r) => r.text()));
  await own.waitForTimeout(300);
  check(sent.some((c) => c.includes('zr_session')), 'a page of the service itself does send the session');
} finally {
  await browser.close();
  service.child.kill('SIGTERM');
}
process.exit(failures ? 1 : 0);
