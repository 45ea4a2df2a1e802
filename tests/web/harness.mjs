// What the browser tests share: their arguments, checks that print and count, starting and
// stopping zura-web on a free loopback port, and launching the system's Chromium.
import {spawn} from 'node:child_process';
import {createRequire} from 'node:module';
import path from 'node:path';

export const args = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
const {chromium} = createRequire(path.join(args.modules, 'x.js'))('playwright-core');

export const failures = [];
export function check(name, ok, detail) {
  console.log((ok ? 'ok   ' : 'FAIL ') + name + (ok || detail === undefined ? '' : ': ' + detail));
  if (!ok) failures.push(name);
}

export function startServer(root, extra = [], binary = args.server) {
  const server = spawn(binary, ['--port', '0', '--root', root, ...extra], {stdio: ['ignore', 'pipe', 'inherit']});
  const url = new Promise((resolve, reject) => {
    let out = '';
    const timer = setTimeout(() => reject(new Error('zura-web did not print its address')), 15000);
    server.stdout.on('data', (d) => {
      out += d;
      const m = out.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (m) { clearTimeout(timer); resolve(m[0]); }
    });
    server.on('exit', (code) => { clearTimeout(timer); reject(new Error('zura-web exited: ' + code)); });
  });
  return {server, url};
}

// fetch in a session of its own (the cookie of a first visit), as a browser would.
export async function sessionFetch(url) {
  const cookie = (await fetch(url)).headers.get('set-cookie').split(';')[0];
  return (u, init = {}) => fetch(u, {...init, headers: {...init.headers, Cookie: cookie}});
}

// fetch in the session of a browser page (its context's cookie).
export function pageFetch(page) {
  return async (u, init = {}) => {
    const r = await page.request.fetch(u, {method: init.method, headers: init.headers, data: init.body});
    return {status: r.status(), text: () => r.text(), json: () => r.json()};
  };
}

export function stopServer(server) {
  return new Promise((resolve) => {
    if (server.exitCode !== null || server.signalCode !== null) return resolve(server.exitCode);
    const timer = setTimeout(() => server.kill('SIGKILL'), 5000);
    server.on('exit', (code) => { clearTimeout(timer); resolve(code); });
    server.kill('SIGTERM');
  });
}

// Chromium as this machine allows it: headless, no sandbox, no background traffic.
export function launchBrowser() {
  return chromium.launch({
    executablePath: args.chromium,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    timeout: 30000,
  });
}

export function finish() {
  console.log(failures.length ? failures.length + ' failed' : 'all passed');
  process.exit(failures.length ? 1 : 0);
}
