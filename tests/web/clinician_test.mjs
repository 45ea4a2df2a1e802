// The browser host as clinicians use it, on the real program and databases, in one Chromium:
// every IV opioid of the dose conversion picked by a mouse click on its row of the open list;
// the screen scaled to a desktop window and to a phone (text size, a swipe scrolls); browser
// shortcuts left to the browser; digits reaching the dose field with and without the keypad;
// a keyboard-only walk of a PCA morphine prescription to its report; the whole report as a page,
// as text and as a PDF without the device frame. The server is stopped in every case.
//   node clinician_test.mjs --server BIN --root DIR --chromium BIN --modules DIR --out DIR
import path from 'node:path';

import {args, check, finish, launchBrowser, pageFetch, startServer, stopServer} from './harness.mjs';

const idle = (page) => page.evaluate(() => window.zura.idle());
const screen = (page) => page.evaluate(() => window.zura.idle().then(() => window.zura.screen));
const windowWith = (s, kind, text) => s.windows.find(w => w.kind === kind && w.text === text);

async function clickText(page, text) {
  const exact = new RegExp('^' + text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&') + '$');
  await page.locator('#screen .text', {hasText: exact}).first().click();
  await idle(page);
}

// The program runs on between page loads: Restart leads back to the home page.
async function home(page) {
  await page.waitForSelector('#screen [data-kind]');
  if (!(await screen(page)).windows.find(w => w.ctrlId === 108)) {
    await page.locator('#screen [data-kind=push]', {hasText: 'Restart'}).click();
    await page.waitForSelector('#screen img[data-kind=owner]');
  }
}

// The module buttons are the owner-drawn buttons 108 (prescription), 109 and 110; 112 is Info.
async function startModule(page, url, control) {
  await page.goto(url);
  await home(page);
  const id = (await screen(page)).windows.find(w => w.ctrlId === control).id;
  await page.locator('#screen [data-id="' + id + '"]').click();
  await idle(page);
}

// The dose conversion's first page at a desktop window: the list opens over the lines below it
// and a click on a row picks that row's opioid.
async function ivOpioids(page, url) {
  await startModule(page, url, 109);
  await clickText(page, 'IV bolus or infusion');
  const closed = (s) => s.windows.find(w => w.kind === 'listbox' && w.rect[0] === 8);
  let s;
  const names = ['Morphine', 'Fentanyl', 'Hydromorphone', 'Meperidine', 'Methadone', 'Oxymorphone'];
  for (const name of names) {
    await page.locator('#screen [data-kind=listbox]').first().click();
    await idle(page);
    s = await screen(page);
    const open = s.windows.find(w => w.kind === 'listbox' && w.items.length > 1);
    if (name === names[0]) {
      check('the open list lies over the lines below it', open && open.rect[3] > 100 &&
            !!windowWith(s, 'check', 'IV dose in mcg (fentanyl)'));
      await page.screenshot({path: path.join(args.out, 'clinician-open-list-1440.png')});
    }
    const row = page.locator('#screen [data-kind=listbox] .text', {hasText: new RegExp('^' + name + '$')});
    await row.click();
    s = await screen(page);
    const mcg = windowWith(s, 'check', 'IV dose in mcg (fentanyl)');
    check('a click on the row picks ' + name, closed(s) && closed(s).items.length === 1 && closed(s).items[0] === name &&
          mcg && mcg.check === 0, JSON.stringify(closed(s) && closed(s).items));
  }
  // Up, Down and Enter in the open list.
  await page.locator('#screen [data-kind=listbox]').first().click();
  await idle(page);
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('Enter');
  s = await screen(page);
  check('Up and Enter in the open list pick the line above', closed(s) && closed(s).items[0] === 'Meperidine',
        JSON.stringify(closed(s) && closed(s).items));

  // Digits reach the dose field with the keypad open and after it is closed.
  await page.locator('#screen [data-kind=edit]').first().click();
  await idle(page);
  check('the keypad opens', !!(await screen(page)).windows.find(w => w.kind === 'dialog'));
  await page.keyboard.type('12');
  await page.locator('#screen [data-kind=push]', {hasText: 'Close'}).click();
  await idle(page);
  await page.keyboard.type('0');
  s = await screen(page);
  const dose = s.windows.find(w => w.kind === 'edit');
  check('typed digits reach the dose field, keypad open or closed', dose && dose.text === '120', dose && dose.text);
}

async function reportHolds(page, url, name) {
  const s = await screen(page);
  const before = JSON.stringify(s.windows.map(w => [w.id, w.text]));
  const inPage = pageFetch(page);
  const text = await (await inPage(url + 'report.txt')).text();
  // The selector as picking its sections leaves it (the dose conversion names its first entry anew).
  const selector = (await (await inPage(url + 'screen')).json()).windows.find(w => w.kind === 'combo');
  const headings = [];
  const lines = text.split('\n');
  for (let i = 1; i < lines.length; ++i)
    if (/^-+$/.test(lines[i]) && lines[i].length === lines[i - 1].length) headings.push(lines[i - 1]);
  check(name + ': /report.txt holds every section, in order', JSON.stringify(headings) === JSON.stringify(selector.items),
        JSON.stringify(headings) + ' vs ' + JSON.stringify(selector.items));
  const html = await (await inPage(url + 'report')).text();
  const h2 = [...html.matchAll(/<h2>([^<]*)<\/h2>/g)].map(m => m[1]);
  check(name + ': /report holds every section, in order', JSON.stringify(h2) === JSON.stringify(selector.items), JSON.stringify(h2));
  const after = await screen(page);
  check(name + ': the screen is as the user left it', JSON.stringify(after.windows.map(w => [w.id, w.text])) === before);
  return {text, html};
}

// The prescription walk by keyboard only: Tab to the control, Space presses it.
async function keyTo(page, wanted) {
  for (let i = 0; i < 40; ++i) {
    await page.keyboard.press('Tab');
    const w = await page.evaluate(() => {
      const el = document.querySelector('#screen .ring');
      return el ? window.zura.screen.windows.find(w => w.id === el.dataset.id) : null;
    });
    if (w && (typeof wanted === 'number' ? w.ctrlId === wanted : w.text === wanted)) {
      await page.keyboard.press('Space');
      await idle(page);
      return true;
    }
  }
  check('the keyboard reaches ' + wanted, false);
  return false;
}

async function keyboardWalk(page, url) {
  await page.goto(url);
  await home(page);
  await page.locator('#screen').focus();
  await page.keyboard.press('Tab');
  const ringed = await page.evaluate(() => document.querySelectorAll('#screen .ring').length);
  check('Tab shows a focus ring', ringed === 1);
  await keyTo(page, 108);   // the prescription button
  await keyTo(page, 'OK');
  for (const step of ['Severe (7-10)', '3  Often drowsy, drifts off', 'Next', 'IV PCA', 'Next', 'Next',
                      'Mitigating factors present', 'Sleep apnea', 'Next', 'Morphine', 'Next'])
    await keyTo(page, step);
  const s = await screen(page);
  const title = s.windows.find(w => w.kind === 'static' && w.text.startsWith('Recommend'));
  check('the keyboard walk reaches the PCA morphine report', title && title.text === 'Recommend: Morphine' && s.report,
        title && title.text);
  await page.screenshot({path: path.join(args.out, 'clinician-report-screen-1440.png')});
  const {text} = await reportHolds(page, url, 'PCA morphine');
  const macintyre = text.split('\n').filter(l => l.startsWith('Macintyre PE. Safety and efficacy of patient-controlled'));
  check('a work cited under several rules is listed once', macintyre.length === 1, macintyre.length);
  check('the report starts with the title and the program', text.startsWith('Recommend: Morphine\nDolvara, '));
}

async function shortcuts(page) {
  const prevented = await page.evaluate(() => {
    const out = {};
    for (const [name, key] of [['Ctrl+P', 'p'], ['Ctrl+0', '0'], ['Ctrl+F', 'f'], ['Ctrl+R', 'r'], ['Ctrl+=', '=']]) {
      const e = new KeyboardEvent('keydown', {key, ctrlKey: true, bubbles: true, cancelable: true});
      document.getElementById('screen').dispatchEvent(e);
      out[name] = e.defaultPrevented;
    }
    const wheel = new WheelEvent('wheel', {deltaY: 100, ctrlKey: true, bubbles: true, cancelable: true});
    document.getElementById('screen').dispatchEvent(wheel);
    out['Ctrl+wheel'] = wheel.defaultPrevented;
    return out;
  });
  check('the browser keeps its shortcuts (zoom, print, find, reload)', Object.values(prevented).every(p => !p),
        JSON.stringify(prevented));
}

async function desktop(browser, url) {
  const page = await (await browser.newContext({viewport: {width: 1440, height: 900}})).newPage();
  page.setDefaultTimeout(10000);
  page.on('pageerror', (e) => check('the page runs without errors', false, e.message));
  await page.goto(url);
  const none = await pageFetch(page)(url + 'report');
  check('without a results page /report says so', none.status === 404 && /no results page/i.test(await none.text()));
  await page.waitForSelector('#screen img[data-kind=owner]');
  const fit = await page.locator('#fit').boundingBox();
  check('at 1440 x 900 the screen fills most of the height', fit.height >= 0.8 * 900, fit.height);
  await shortcuts(page);
  await page.screenshot({path: path.join(args.out, 'clinician-home-1440.png')});
  await ivOpioids(page, url);
  await keyboardWalk(page, url);

  // The conversion report, then a PDF of the report page without the device frame.
  await startModule(page, url, 109);
  await clickText(page, 'IV bolus or infusion');
  await page.locator('#screen [data-kind=listbox]').first().click();
  await idle(page);
  await page.locator('#screen [data-kind=listbox] .text', {hasText: /^Morphine$/}).click();
  await idle(page);
  await page.locator('#screen [data-kind=edit]').first().click();
  await page.keyboard.type('120');
  await page.locator('#screen [data-kind=push]', {hasText: 'Close'}).click();
  for (const step of ['No', 'None of these']) await clickText(page, step);
  await page.locator('#screen [data-kind=push]', {hasText: 'Next'}).click();
  await idle(page);
  await page.screenshot({path: path.join(args.out, 'clinician-conversion-1440.png')});
  const conversion = await reportHolds(page, url, 'dose conversion');
  check('a warning reads apart from its heading', conversion.text.includes(
        "WARNING: The patient's drug allergies should be reviewed before proceeding"));
  const report = await page.context().newPage();   // a tab of the same browser: its session
  await report.goto(url + 'report');
  await report.emulateMedia({media: 'print'});
  const frame = await report.evaluate(() => ({device: document.querySelectorAll('#device, #screen').length,
                                             tools: getComputedStyle(document.querySelector('.tools')).display}));
  check('the printed report has no device frame and no buttons', frame.device === 0 && frame.tools === 'none',
        JSON.stringify(frame));
  for (const format of ['A4', 'Letter']) {
    const pdf = await report.pdf({format, path: path.join(args.out, 'clinician-report-' + format + '.pdf')});
    check('the report prints to ' + format, pdf.subarray(0, 5).toString() === '%PDF-' && pdf.length > 2000, pdf.length);
  }
  await report.close();
  await page.close();
}

// A phone held upright: the screen fills the width, text is large enough, a swipe scrolls.
async function phone(browser, url) {
  const context = await browser.newContext({viewport: {width: 390, height: 844}, hasTouch: true, isMobile: true});
  const page = await context.newPage();
  page.setDefaultTimeout(10000);
  page.on('pageerror', (e) => check('the page runs without errors', false, e.message));
  await startModule(page, url, 112);   // the About page, longer than the screen
  const fit = await page.locator('#fit').boundingBox();
  check('at 390 x 844 the screen fills the width', fit.width >= 380 && fit.x >= 0, JSON.stringify(fit));
  const smallest = await page.evaluate(() => Math.min(...[...document.querySelectorAll('#screen [data-kind=static].text')]
      .map(el => parseFloat(getComputedStyle(el).fontSize) * el.getBoundingClientRect().height / el.offsetHeight)));
  check('body text is at least 12 CSS px', smallest >= 12, smallest);
  await page.screenshot({path: path.join(args.out, 'clinician-page-390.png')});
  const bar = () => page.evaluate(() => window.zura.idle().then(() =>
      window.zura.screen.windows.find(w => w.kind === 'scrollbar' && w.ctrlId === 100)));
  const before = await bar();
  const cdp = await context.newCDPSession(page);
  const box = await page.locator('#screen').boundingBox();
  const x = box.x + box.width / 2;
  const touch = (type, y) => cdp.send('Input.dispatchTouchEvent',
                                       {type, touchPoints: type === 'touchEnd' ? [] : [{x, y: box.y + y}]});
  await touch('touchStart', 400);
  for (let y = 380; y >= 200; y -= 20) await touch('touchMove', y);
  await touch('touchEnd', 200);
  const after = await bar();
  check('a swipe up scrolls the page', before && after && after.scroll.pos > before.scroll.pos,
        JSON.stringify([before && before.scroll, after && after.scroll]));
  await context.close();
}

const {server, url: urlPromise} = startServer(args.root);
let browser;
try {
  const url = await urlPromise;
  browser = await launchBrowser();
  await desktop(browser, url);
  await phone(browser, url);
} catch (e) {
  check('the clinician walk ran to its end', false, e.stack || String(e));
} finally {
  if (browser) await browser.close().catch(() => {});
  await stopServer(server);
}
finish();
