// zura-web as a ward loads it, on loopback: starts the server on the real databases, opens
// SESSIONS sessions (each a worker process) and reads their memory, then lets 50 clients, each in
// a session of its own on the prescription module's first page, tick a check box as fast as they
// are answered for SECONDS. Prints sessions held, the resident memory of a worker (mean, largest)
// and of the front, requests per second, the median, 99th percentile and worst latency, and the
// requests that failed. A benchmark, not a test: nothing is asserted.
//   node bench/web_ward.mjs SERVER ROOT [SESSIONS [SECONDS]]
import {spawn} from 'node:child_process';
import http from 'node:http';
import {readdirSync, readFileSync} from 'node:fs';

const [server, root, sessionCount = '100', seconds = '10'] = process.argv.slice(2);
const clients = 50;
const child = spawn(server, ['--port', '0', '--root', root, '--max-sessions', String(Math.max(+sessionCount, clients) + 10)],
                    {stdio: ['ignore', 'pipe', 'inherit']});
const url = await new Promise((resolve, reject) => {
  let out = '';
  child.stdout.on('data', (d) => { out += d; const m = out.match(/http:\/\/127\.0\.0\.1:\d+\//); if (m) resolve(m[0]); });
  child.on('exit', (code) => reject(new Error('zura-web exited ' + code)));
});

const rssKb = (pid) => +readFileSync(`/proc/${pid}/status`, 'utf8').match(/VmRSS:\s+(\d+)/)[1];
function workers() {
  return readdirSync('/proc').filter(d => /^\d+$/.test(d)).filter((d) => {
    try {
      const stat = readFileSync(`/proc/${d}/stat`, 'utf8');
      return +stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1] === child.pid;
    } catch { return false; }
  }).map(Number);
}

const agent = new http.Agent({keepAlive: true, maxSockets: clients});
function request(method, path, cookie, body) {
  return new Promise((resolve) => {
    const started = performance.now();
    const req = http.request(url + path, {method, agent, headers: {Cookie: cookie || '', 'Content-Type': 'application/json'}}, (res) => {
      let text = '';
      res.on('data', (d) => { text += d; });
      res.on('end', () => resolve({status: res.statusCode, text, ms: performance.now() - started,
                                   cookie: (res.headers['set-cookie'] || [''])[0].split(';')[0]}));
    });
    req.on('error', (e) => resolve({status: e.code || e.message, ms: performance.now() - started}));
    req.end(body);
  });
}
const tap = (cookie, window) => request('POST', 'action', cookie, JSON.stringify({kind: 'tap', window}));

try {
  // Sessions held: each opened as a browser would, its program's first screen read.
  const cookies = [];
  for (let i = 0; i < +sessionCount; ++i) {
    const first = await request('GET', '', '');
    if (first.status !== 200) break;
    if ((await request('GET', 'screen', first.cookie)).status === 200) cookies.push(first.cookie);
  }
  const pids = workers();
  const rss = pids.map(rssKb);
  console.log(`sessions held: ${cookies.length} (${pids.length} worker processes)`);
  console.log(`worker RSS: mean ${(rss.reduce((a, b) => a + b, 0) / rss.length / 1024).toFixed(1)} MB, ` +
              `largest ${(Math.max(...rss) / 1024).toFixed(1)} MB; front RSS ${(rssKb(child.pid) / 1024).toFixed(1)} MB`);

  // 50 clients, each on the Patient Assessment page of its own session, ticking a check box.
  const boxes = await Promise.all(cookies.slice(0, clients).map(async (cookie) => {
    let screen = JSON.parse((await request('GET', 'screen', cookie)).text);
    await tap(cookie, screen.windows.find(w => w.ctrlId === 108).id);
    screen = JSON.parse((await request('GET', 'screen', cookie)).text);
    await tap(cookie, screen.windows.find(w => w.kind === 'push' && w.text === 'OK').id);
    screen = JSON.parse((await request('GET', 'screen', cookie)).text);
    return screen.windows.find(w => w.kind === 'check').id;
  }));
  const latencies = [], failures = {};
  const end = performance.now() + 1000 * +seconds;
  await Promise.all(boxes.map(async (box, c) => {
    while (performance.now() < end) {
      const r = await tap(cookies[c], box);
      if (r.status === 200) latencies.push(r.ms);
      else failures[r.status] = (failures[r.status] || 0) + 1;
    }
  }));
  latencies.sort((a, b) => a - b);
  const at = (q) => latencies[Math.min(latencies.length - 1, Math.floor(q * latencies.length))].toFixed(1);
  console.log(`${clients} clients for ${seconds} s: ${(latencies.length / +seconds).toFixed(0)} requests/s; latency ` +
              `median ${at(0.5)} ms, p99 ${at(0.99)} ms, worst ${latencies[latencies.length - 1].toFixed(1)} ms; ` +
              `failed: ${JSON.stringify(failures)}`);
} finally {
  agent.destroy();
  child.kill('SIGTERM');
}
