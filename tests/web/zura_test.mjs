// The browser test of the real program: zura-web serves Zura on the databases built from data/;
// Chromium opens the home page, starts the prescription module, answers the first page's note
// and finds the Patient Assessment page with every caption shown whole. The server is stopped
// in every case.
//   node zura_test.mjs --server BIN --root DIR --chromium BIN --modules DIR --out DIR
import {spawn} from 'node:child_process';
import {createRequire} from 'node:module';
import path from 'node:path';

const args = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
const {chromium} = createRequire(path.join(args.modules, 'x.js'))('playwright-core');

const failures = [];
function check(name, ok, detail) {
  console.log((ok ? 'ok   ' : 'FAIL ') + name + (ok || detail === undefined ? '' : ': ' + detail));
  if (!ok) failures.push(name);
}

const server = spawn(args.server, ['--port', '0', '--root', args.root], {stdio: ['ignore', 'pipe', 'inherit']});
const url = await new Promise((resolve, reject) => {
  let out = '';
  const timer = setTimeout(() => reject(new Error('zura-web did not print its address')), 15000);
  server.stdout.on('data', (d) => {
    out += d;
    const m = out.match(/http:\/\/127\.0\.0\.1:\d+\//);
    if (m) { clearTimeout(timer); resolve(m[0]); }
  });
  server.on('exit', (code) => { clearTimeout(timer); reject(new Error('zura-web exited: ' + code)); });
});

let browser;
try {
  browser = await chromium.launch({executablePath: args.chromium,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync']});
  const page = await browser.newPage({viewport: {width: 300, height: 380}});
  await page.goto(url);
  await page.waitForSelector('#screen img[data-kind=owner]', {timeout: 10000});
  check('the home page shows the picture and the three module buttons',
        await page.locator('#screen img[data-kind=owner]').count() === 4);
  check('the home page title', await page.locator('#screen .text', {hasText: 'Zura Management'}).count() === 1);
  await page.locator('#screen img[data-kind=owner]').nth(1).click();
  await page.locator('#screen [data-kind=push]', {hasText: 'OK'}).waitFor({timeout: 10000});
  check('the first page opens with its note on top',
        await page.locator('#screen .text', {hasText: 'opioid-naive adults'}).count() === 1);
  await page.locator('#screen [data-kind=push]', {hasText: 'OK'}).click();
  await page.locator('#screen .text', {hasText: 'Patient Assessment'}).waitFor({timeout: 10000});
  check('the Patient Assessment page', await page.locator('#screen [data-kind=check]').count() >= 8);
  // An edit control keeps a pixel of margin on each side, so a caption laid out to its exact width
  // may lose a few pixels (with rounding, up to four); a caption measured in a smaller font than it is shown in loses more.
  const cut = await page.evaluate(() => [...document.querySelectorAll('#screen .text')]
      .filter(el => el.scrollWidth > el.clientWidth + 4).map(el => el.textContent + ' ' + (el.scrollWidth - el.clientWidth)));
  check('every caption is shown whole, but for the edit margins', cut.length === 0, JSON.stringify(cut));
  await page.screenshot({path: path.join(args.out, 'zura-patient-assessment.png')});
} catch (e) {
  check('the walk through the program', false, e.message);
} finally {
  if (browser) await browser.close();
  server.kill('SIGTERM');
}
console.log(failures.length ? failures.length + ' failed' : 'all passed');
process.exit(failures.length ? 1 : 0);
