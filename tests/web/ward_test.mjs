// zura-web as a ward uses it, each scenario on its own server on a free loopback port: two
// browsers walk different modules at once; an idle session ends with its process; the session
// cap; a killed session process; slow and half-open connections while a client works; 50 clients
// at once. Every connection goes to 127.0.0.1, and every scenario ends its servers and sockets.
//   node ward_test.mjs --server DEMO --zura ZURA --root DIR --chromium BIN --modules DIR --out DIR
import http from 'node:http';
import net from 'node:net';
import {mkdtempSync, readdirSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {setTimeout as sleep} from 'node:timers/promises';

import {args, check, finish, launchBrowser, startServer, stopServer} from './harness.mjs';

const seen = new Set();   // every worker seen: none may outlive its server
function workers(front) {
  const out = [];
  for (const d of readdirSync('/proc')) {
    if (!/^\d+$/.test(d)) continue;
    try {
      const stat = readFileSync(`/proc/${d}/stat`, 'utf8');
      if (+stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1] === front) out.push(+d);
    } catch { /* gone meanwhile */ }
  }
  out.forEach(p => seen.add(p));
  return out;
}
const alive = (pid) => { try { process.kill(pid, 0); return true; } catch { return false; } };

async function until(test, ms) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(100)) if (await test()) return true;
  return false;
}

async function scenario(name, binary, extra, body) {
  const root = binary === args.zura ? args.root : mkdtempSync(path.join(tmpdir(), 'zura-ward-'));
  const {server, url} = startServer(root, extra, binary);
  let browser;
  try {
    const u = await url;
    browser = await launchBrowser();
    await body(u, browser, server.pid);
  } catch (e) {
    check(name + ': ran to its end', false, e.stack || String(e));
  } finally {
    if (browser) await browser.close().catch(() => {});
    const code = await stopServer(server);
    check(name + ': the server stops cleanly and no worker outlives it', code === 0 && ![...seen].some(alive), code);
    if (root !== args.root) rmSync(root, {recursive: true, force: true});
  }
}

async function open(browser, url, viewport = {width: 400, height: 520}) {
  const context = await browser.newContext({viewport});
  const page = await context.newPage();
  page.setDefaultTimeout(10000);
  const response = await page.goto(url);
  return {context, page, response};
}

const texts = (page) => page.evaluate(() => window.zura.idle().then(() =>
    window.zura.screen.windows.map(w => w.text).filter(Boolean)));
const demoStatus = (page) => page.evaluate(() => window.zura.idle().then(() =>
    window.zura.screen.windows.find(w => w.ctrlId === 203).text));

async function tapModule(page, ctrlId) {
  await page.waitForSelector('#screen img[data-kind=owner]');
  const id = await page.evaluate((c) => window.zura.idle().then(() => window.zura.screen.windows.find(w => w.ctrlId === c).id), ctrlId);
  await page.locator('#screen [data-id="' + id + '"]').click();
}

async function shoot(page, name) {
  for (const [w, h] of [[390, 844], [1440, 900]]) {
    await page.setViewportSize({width: w, height: h});
    await page.screenshot({path: path.join(args.out, `ward-${name}-${w}x${h}.png`)});
  }
}

// A raw HTTP exchange on its own socket: what came back, and whether the server closed it.
function rawSocket(port) {
  const s = {socket: net.connect(port, '127.0.0.1'), got: '', closed: false};
  s.socket.on('data', (d) => { s.got += d; });
  s.socket.on('close', () => { s.closed = true; });
  s.socket.on('error', () => {});
  return s;
}

await scenario('two sessions', args.zura, [], async (url, browser, front) => {
  const [a, b] = [await open(browser, url), await open(browser, url)];
  await Promise.all([
    (async () => {
      await tapModule(a.page, 108);
      await a.page.locator('#screen [data-kind=push]', {hasText: 'OK'}).click();
      await a.page.locator('#screen').getByText('Patient Assessment', {exact: true}).waitFor();
    })(),
    (async () => {
      await tapModule(b.page, 109);
      await b.page.locator('#screen').getByText('Current Opioid', {exact: true}).waitFor();
    })(),
  ]);
  const [ta, tb] = [await texts(a.page), await texts(b.page)];
  check('each browser sees only its own module', ta.includes('Patient Assessment') && !ta.includes('Current Opioid') &&
        tb.includes('Current Opioid') && !tb.includes('Patient Assessment'), JSON.stringify([ta.slice(0, 8), tb.slice(0, 8)]));
  check('each session has its own process', workers(front).length === 2, workers(front).length);
  const tab = await a.context.newPage();
  await tab.goto(url);
  await tab.locator('#screen').getByText('Patient Assessment', {exact: true}).waitFor();
  check('a second tab of a browser shares its session', workers(front).length === 2);
  const [cookie] = await a.context.cookies();
  check('the session cookie: 128 random bits, HttpOnly, SameSite=Strict', /^[0-9a-f]{32}$/.test(cookie.value) &&
        cookie.httpOnly && cookie.sameSite === 'Strict' && cookie.value !== (await b.context.cookies())[0].value,
        JSON.stringify(cookie));
});

await scenario('idle', args.server, ['--idle-timeout', '2'], async (url, browser, front) => {
  const {page} = await open(browser, url);
  await page.waitForSelector('#screen [data-kind=check]');
  const [worker] = workers(front);
  check('an idle session ends and its process is gone', await until(() => !alive(worker), 10000));
  await page.locator('#screen [data-kind=check]').click();
  await page.getByText('This session has ended').waitFor();
  check('its page then says so and offers a fresh start', await page.getByRole('button', {name: 'Start again'}).count() === 1);
  await shoot(page, 'ended');
  await page.getByRole('button', {name: 'Start again'}).click();
  await page.waitForSelector('#screen [data-kind=check]');
  check('Start again gives a new session', workers(front).length === 1 && await demoStatus(page) === 'Ready');
});

// A request by hand: its status.
const ask = (url, p, headers, body) => new Promise((resolve, reject) => {
  const req = http.request(url + p, {method: body ? 'POST' : 'GET', headers, agent: false}, (res) => {
    res.resume();
    resolve(res.statusCode);
  });
  req.on('error', reject);
  req.end(body);
});

await scenario('cap', args.server, ['--max-sessions', '2', '--allow-host', 'zura.ward.example'], async (url, browser, front) => {
  const json = {'Content-Type': 'application/json'};
  const hosts = [['an allowed name', {Host: 'zura.ward.example'}, 200], ['another name', {Host: 'ward.example'}, 403],
                 ['a foreign Origin on an action', {...json, Origin: 'https://attacker.example'}, 403],
                 ['its own Origin', {...json, Host: 'zura.ward.example', Origin: 'https://zura.ward.example'}, 410]];
  for (const [name, headers, status] of hosts) {
    const got = await ask(url, headers['Content-Type'] ? 'action' : 'page.js', headers, headers.Origin && '{}');
    check('--allow-host: ' + name, got === status, got);
  }
  for (let i = 0; i < 2; ++i) await (await open(browser, url)).page.waitForSelector('#screen [data-kind=check]');
  const third = await open(browser, url);
  check('a visitor beyond the cap is answered at once, 503 with a sentence', third.response.status() === 503 &&
        await third.page.getByText('as many sessions as this server allows (2)').count() === 1, third.response.status());
  check('the cap starts no process', workers(front).length === 2);
  await shoot(third.page, 'cap');
});

await scenario('killed', args.server, [], async (url, browser, front) => {
  const a = await open(browser, url);
  await a.page.waitForSelector('#screen [data-kind=check]');
  const [worker] = workers(front);
  const b = await open(browser, url);
  await b.page.waitForSelector('#screen [data-kind=check]');
  process.kill(worker, 'SIGKILL');
  await until(() => !workers(front).includes(worker), 5000);
  await a.page.locator('#screen [data-kind=check]').click();
  await a.page.getByText('The program stopped').waitFor();
  check('a killed session process gives its session a Start again page',
        await a.page.getByRole('button', {name: 'Start again'}).count() === 1);
  await b.page.locator('#screen [data-kind=check]').click();
  check('and touches no other session', await demoStatus(b.page) === 'Checked: yes');
  await shoot(a.page, 'stopped');
  await a.page.getByRole('button', {name: 'Start again'}).click();
  await a.page.waitForSelector('#screen [data-kind=check]');
  check('Start again after the crash', await demoStatus(a.page) === 'Ready' && workers(front).length === 2);
});

await scenario('slow clients', args.server, ['--request-timeout', '3', '--max-per-address', '16'], async (url) => {
  const port = +new URL(url).port;
  const first = await fetch(url);
  const cookie = first.headers.get('set-cookie').split(';')[0];
  const drip = 'GET /screen HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ' + 'x'.repeat(40);
  const slow = [], halfOpen = rawSocket(port);
  let sent = 0, timer;
  try {
    for (let i = 0; i < 8; ++i) slow.push(rawSocket(port));
    timer = setInterval(() => { for (const s of slow) if (!s.closed && !s.got) s.socket.write(drip[sent % drip.length]); sent++; }, 400);
    let good = 0;
    for (let i = 0; i < 20; ++i) good += (await fetch(url + 'screen', {headers: {Cookie: cookie}})).status === 200;
    check('a client is answered while slow clients send their headers', good === 20 && slow.every(s => !s.got), good);
    await until(() => slow.every(s => s.closed) && halfOpen.closed, 10000);
    check('slow senders are answered 408 and closed', slow.every(s => s.closed && s.got.startsWith('HTTP/1.1 408')),
          JSON.stringify(slow.map(s => s.got.slice(0, 12))));
    check('a connection that sends nothing is closed', halfOpen.closed && !halfOpen.got);
  } finally {
    clearInterval(timer);
    [...slow, halfOpen].forEach(s => s.socket.destroy());
  }
  const idle = [];
  try {
    for (let i = 0; i < 16; ++i) idle.push(rawSocket(port));
    await sleep(500);
    const over = rawSocket(port);
    idle.push(over);
    over.socket.write('GET /page.js HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n');
    await until(() => over.closed, 5000);
    check('an address beyond its connection bound is answered 503', over.got.startsWith('HTTP/1.1 503'), over.got.slice(0, 20));
  } finally {
    idle.forEach(s => s.socket.destroy());
  }
  await sleep(300);
  check('and served again once it closes them', (await fetch(url + 'page.js')).status === 200);
});

await scenario('storm', args.server, [], async (url) => {
  const cookies = [];
  for (let i = 0; i < 5; ++i) cookies.push((await fetch(url)).headers.get('set-cookie').split(';')[0]);
  const agent = new http.Agent({keepAlive: true, maxSockets: 50});
  const get = (p, cookie) => new Promise((resolve) => {
    const req = http.get(url + p, {agent, headers: {Cookie: cookie}}, (res) => {
      res.resume();
      res.on('end', () => resolve(res.statusCode));
    });
    req.setTimeout(20000, () => req.destroy(new Error('timeout')));
    req.on('error', (e) => resolve(e.code || e.message));
  });
  const outcomes = {};
  const stopAt = Date.now() + 60000;
  await Promise.all(Array.from({length: 50}, async (_, c) => {
    for (let i = 0; i < 30 && Date.now() < stopAt; ++i) {
      const r = await get(i % 2 ? 'page.js' : 'screen', cookies[c % 5]);
      outcomes[r] = (outcomes[r] || 0) + 1;
    }
  }));
  agent.destroy();
  check('50 clients at once: every request answered 200, no connection reset', Object.keys(outcomes).length === 1 &&
        outcomes[200] === 1500, JSON.stringify(outcomes));
});

finish();
