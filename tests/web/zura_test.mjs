// The browser test of the real program: zura-web serves Zura on the databases built from data/;
// Chromium opens the home page, starts the prescription module, answers the first page's note
// and finds the Patient Assessment page with every caption shown whole. The server is stopped
// in every case.
//   node zura_test.mjs --server BIN --root DIR --chromium BIN --modules DIR --out DIR
import path from 'node:path';

import {args, check, finish, launchBrowser, startServer, stopServer} from './harness.mjs';

const {server, url: urlPromise} = startServer(args.root);
let browser;
try {
  const url = await urlPromise;
  browser = await launchBrowser();
  const page = await browser.newPage({viewport: {width: 300, height: 380}});
  await page.goto(url);
  await page.waitForSelector('#screen img[data-kind=owner]', {timeout: 10000});
  check('the home page shows the picture and the three module buttons',
        await page.locator('#screen img[data-kind=owner]').count() === 4);
  check('the home page title', await page.locator('#screen .text', {hasText: 'Zura Management'}).count() === 1);
  const prescription = await page.evaluate(() => window.zura.idle().then(() =>
      window.zura.screen.windows.find(w => w.ctrlId === 108).id));
  await page.locator('#screen [data-id="' + prescription + '"]').click();
  await page.locator('#screen [data-kind=push]', {hasText: 'OK'}).waitFor({timeout: 10000});
  check('the first page opens with its note on top',
        await page.locator('#screen .text', {hasText: 'opioid-naive adults'}).count() === 1);
  await page.locator('#screen [data-kind=push]', {hasText: 'OK'}).click();
  await page.locator('#screen .text', {hasText: 'Patient Assessment'}).waitFor({timeout: 10000});
  check('the Patient Assessment page', await page.locator('#screen [data-kind=check]').count() >= 8);
  // An edit control keeps a pixel of margin on each side, so a caption laid out to its exact width
  // may lose a few pixels (with rounding, up to four); a caption measured in a smaller font than it
  // is shown in loses more.
  const cut = await page.evaluate(() => [...document.querySelectorAll('#screen .text')]
      .filter(el => el.scrollWidth > el.clientWidth + 4).map(el => el.textContent + ' ' + (el.scrollWidth - el.clientWidth)));
  check('every caption is shown whole, but for the edit margins', cut.length === 0, JSON.stringify(cut));
  await page.screenshot({path: path.join(args.out, 'zura-patient-assessment.png')});
} catch (e) {
  check('the walk through the program', false, e.stack || String(e));
} finally {
  if (browser) await browser.close().catch(() => {});
  await stopServer(server);
}
finish();
