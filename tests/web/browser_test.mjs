// The browser test of zura-web: starts the server (the demo program) on a free loopback port,
// checks its answers to bad requests, then drives the page in the system's Chromium: taps, typing,
// list and drop-down picks, scrolling, a message box, the end of the program and its restart.
// Reads the program's answers back off the screen and saves a screenshot. The server is stopped
// in every case.
//   node browser_test.mjs --server BIN --chromium BIN --modules DIR --out DIR
import {spawn} from 'node:child_process';
import http from 'node:http';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';

import {args, check, finish, launchBrowser, pageFetch, sessionFetch, startServer, stopServer} from './harness.mjs';

let api = fetch;   // the test's own session, once the server runs

async function post(url, body, raw, f = api) {
  const r = await f(url + 'action', {method: 'POST', headers: {'Content-Type': 'application/json'},
                                          body: raw ? body : JSON.stringify(body)});
  return {status: r.status, body: await r.json().catch(() => null)};
}

// Requests a page would never send: each is refused with a clear status and the server carries on.
async function badRequests(url) {
  const screen = await (await api(url + 'screen')).json();
  const check_ = screen.windows.find(w => w.kind === 'check');
  const cases = [
    ['not JSON', 'tap it', true, 400],
    ['no kind', {window: check_.id}, false, 400],
    ['unknown kind', {kind: 'shake', window: check_.id}, false, 400],
    ['malformed window id', {kind: 'tap', window: '../1'}, false, 400],
    ['window not on the screen', {kind: 'tap', window: 'w10'}, false, 404],
    ['pick beyond the lines', {kind: 'pick', window: screen.windows.find(w => w.kind === 'listbox').id, index: 99}, false, 400],
    ['pick on a check box', {kind: 'pick', window: check_.id, index: 0}, false, 400],
    ['scroll without a code', {kind: 'scroll', window: screen.windows.find(w => w.kind === 'scrollbar').id}, false, 400],
    ['typing nothing typable', {kind: 'type', text: '\u20ac\u0001'}, false, 400],
    ['typing too much', {kind: 'type', text: 'x'.repeat(300)}, false, 400],
    ['unknown key', {kind: 'key', key: 'hyper'}, false, 400],
    ['a stale screen', {kind: 'tap', window: check_.id, seq: screen.seq - 1}, false, 409],
  ];
  for (const [name, body, raw, status] of cases) {
    const r = await post(url, body, raw);
    check('refused: ' + name, r.status === status && r.body && typeof r.body.error === 'string', r.status);
  }
  const after = await (await api(url + 'screen')).json();
  check('refused actions leave the screen as it was', after.seq === screen.seq &&
        after.windows.find(w => w.kind === 'check').check === 0);
  const plain = await api(url + 'action', {method: 'POST', headers: {'Content-Type': 'text/plain'},
                                             body: JSON.stringify({kind: 'tap', window: check_.id})});
  check('refused: an action sent as text/plain', plain.status === 415, plain.status);
  for (const host of ['attacker.example:' + new URL(url).port, 'localhost.attacker.example']) {
    const status = await new Promise((resolve, reject) => {
      const req = http.request(url + 'screen', {headers: {Host: host}}, (res) => { res.resume(); resolve(res.statusCode); });
      req.on('error', reject);
      req.end();
    });
    check('refused: a request for host ' + host, status === 403, status);
  }
  for (const [name, file, status] of [['a DejaVu file', 'DejaVuSans.ttf', 200], ['a path outside', '..%2f..%2fetc%2fpasswd', 404],
                                      ['another file', 'passwd', 404]]) {
    const r = await fetch(url + 'fonts/' + file);
    check('fonts: ' + name, r.status === status, r.status);
  }
}

async function statusText(page) {
  return page.evaluate(() => window.zura.idle().then(() => window.zura.screen.windows.find(w => w.ctrlId === 203).text));
}

async function expectStatus(page, name, wanted) {
  const shown = await statusText(page);
  const onScreen = await page.locator('#screen .text', {hasText: wanted}).count();
  check(name, shown === wanted && onScreen > 0, JSON.stringify(shown));
}

async function drive(page, url) {
  await page.goto(url);
  await page.waitForSelector('#screen [data-kind=check]', {timeout: 10000});
  await page.evaluate(() => window.zura.idle());

  // Fonts: the files and sizes the platform measured with, without kerning.
  const title = page.locator('#screen .text', {hasText: 'Pain assessment'});
  const style = await title.evaluate((el) => {
    const s = getComputedStyle(el);
    return {family: s.fontFamily, size: s.fontSize, kerning: s.fontKerning, overflow: el.scrollWidth <= el.clientWidth,
            color: s.color, background: s.backgroundColor};
  });
  const plain = await page.locator('#screen .text', {hasText: 'Dose (mg):'}).evaluate((el) => getComputedStyle(el).color);
  check('the title takes the colours its parent gives', style.color === 'rgb(255, 255, 255)' &&
        style.background === 'rgba(0, 0, 0, 0)', JSON.stringify(style));
  check('other statics keep the standard colours', plain === 'rgb(0, 0, 0)', plain);
  check('the title is drawn in the bold file at 13 px', style.family.includes('zura-DejaVuSans-Bold') && style.size === '13px',
        JSON.stringify(style));
  check('text is drawn without kerning', style.kerning === 'none', style.kerning);
  check('the fonts are loaded', await page.evaluate(() => document.fonts.check('13px "zura-DejaVuSans-Bold"') &&
                                                          document.fonts.check('11px "zura-DejaVuSans"')));
  check('the title fits its control', style.overflow);
  check('the owner-drawn button shows its surface', await page.locator('#screen img[data-kind=owner]').count() === 1);

  await page.click('#screen [data-kind=check]');
  await expectStatus(page, 'a tap toggles the check box', 'Checked: yes');
  check('the check box shows its mark', await page.locator('#screen [data-kind=check] svg').count() === 1);

  await page.click('#screen [data-kind=edit]');
  await page.keyboard.type('12');
  await expectStatus(page, 'typing goes into the focused edit', 'Dose: 12');
  await page.keyboard.press('Backspace');
  await expectStatus(page, 'backspace takes the last character', 'Dose: 1');
  check('the edit shows its text', (await page.locator('#screen [data-kind=edit]').textContent()) === '1');

  await page.locator('#screen [data-kind=listbox] .text', {hasText: 'Fentanyl'}).click();
  await expectStatus(page, 'a tap on a list line picks it', 'Picked: Fentanyl');

  await page.click('#screen [data-kind=combo]');
  await page.evaluate(() => window.zura.idle());
  const dropped = await page.evaluate(() => window.zura.screen.windows.find(w => w.kind === 'combo').dropped);
  check('a tap drops the section list', dropped);
  await page.screenshot({path: path.join(args.out, 'web-drop-list.png')});
  await page.locator('#screen [data-kind=droplist] .text', {hasText: 'Caveats'}).click();
  await expectStatus(page, 'a tap on a dropped line picks the section', 'Section: Caveats');

  const bar = page.locator('#screen [data-kind=scrollbar]');
  const box = await bar.boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height - 4);
  await expectStatus(page, 'the down arrow scrolls a line', 'Row: 1');
  await page.mouse.click(box.x + box.width / 2, box.y + box.height - 40);
  await expectStatus(page, 'a tap below the thumb scrolls a page', 'Row: 17');
  const screenBox = await page.locator('#screen').boundingBox();
  await page.mouse.move(screenBox.x + 120, screenBox.y + 160);
  await page.mouse.wheel(0, -100);
  await expectStatus(page, 'a wheel notch scrolls up three lines', 'Row: 14');

  await page.locator('#screen [data-kind=push]', {hasText: 'Ask'}).click();
  await page.evaluate(() => window.zura.idle());
  check('a message box opens on top', await page.locator('#screen [data-kind=dialog]').count() === 1 &&
        await page.locator('#screen .text', {hasText: 'Continue with this dose?'}).count() === 1);
  await page.locator('#screen [data-kind=check]').click();   // the owner is disabled: nothing happens
  check('the window under a message box takes no taps',
        await page.evaluate(() => window.zura.idle().then(() => window.zura.screen.windows.find(w => w.kind === 'check').check)) === 1);
  await page.screenshot({path: path.join(args.out, 'web-message-box.png')});
  await page.locator('#screen [data-kind=push]', {hasText: 'OK'}).click();
  await expectStatus(page, 'the message box answers OK', 'Answer: 1');
  check('the message box is gone', await page.locator('#screen [data-kind=dialog]').count() === 0);

  await page.locator('#device').screenshot({path: path.join(args.out, 'web-screen.png')});

  await page.keyboard.press('Control+q');
  await page.waitForSelector('#screen .ended', {timeout: 10000});
  check('Ctrl+Q ends the program', true);
  const refused = await post(url, {kind: 'close'}, false, pageFetch(page));
  check('actions after the end are refused', refused.status === 409, refused.status);
  await page.locator('#screen .ended button').click();
  await page.waitForSelector('#screen .ended', {state: 'detached', timeout: 10000});
  await expectStatus(page, 'the program starts again', 'Ready');
}

const root = mkdtempSync(path.join(tmpdir(), 'zura-web-'));
const {server, url: urlPromise} = startServer(root);
let browser = null;
try {
  const url = await urlPromise;
  check('the server listens on loopback', url.startsWith('http://127.0.0.1:'));
  const port = url.match(/:(\d+)\//)[1];
  const second = spawn(args.server, ['--port', port, '--root', root], {stdio: 'ignore'});
  const secondCode = await new Promise((resolve) => {
    const timer = setTimeout(() => { second.kill('SIGKILL'); resolve('still running'); }, 5000);
    second.on('exit', (code) => { clearTimeout(timer); resolve(code); });
  });
  check('a second server cannot take the same port', secondCode === 1, secondCode);
  api = await sessionFetch(url);
  await badRequests(url);
  browser = await launchBrowser();
  const page = await browser.newPage({viewport: {width: 400, height: 520}});
  page.setDefaultTimeout(10000);
  page.on('pageerror', (e) => check('the page runs without errors', false, e.message));
  await drive(page, url);
} catch (e) {
  check('the test ran to its end', false, e.stack || String(e));
} finally {
  if (browser) await browser.close().catch(() => {});
  const code = await stopServer(server);
  check('SIGTERM stops the server cleanly', code === 0, code);
  rmSync(root, {recursive: true, force: true});
}
finish();
