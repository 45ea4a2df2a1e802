// Round trips of zura-web on loopback: starts the server on the real databases, opens the
// prescription module's first page and ticks and unticks a check box N times, each action aimed
// at the screen before it; prints the median and the 95th percentile in milliseconds and the
// mean reply size. A benchmark, not a test: nothing is asserted.
//   node bench/web_roundtrip.mjs SERVER ROOT [N]
import {spawn} from 'node:child_process';

const [server, root, count = '400'] = process.argv.slice(2);
const child = spawn(server, ['--port', '0', '--root', root], {stdio: ['ignore', 'pipe', 'inherit']});
const url = await new Promise((resolve, reject) => {
  let out = '';
  child.stdout.on('data', (d) => { out += d; const m = out.match(/http:\/\/127\.0\.0\.1:\d+\//); if (m) resolve(m[0]); });
  child.on('exit', (code) => reject(new Error('zura-web exited ' + code)));
});
try {
  const cookie = (await fetch(url)).headers.get('set-cookie').split(';')[0];   // a session of its own
  let screen = await (await fetch(url + 'screen', {headers: {Cookie: cookie}})).json();
  const act = async (action) => {
    action.seq = screen.seq;
    const r = await fetch(url + 'action', {method: 'POST', headers: {'Content-Type': 'application/json', Cookie: cookie},
                                           body: JSON.stringify(action)});
    const text = await r.text();
    const body = JSON.parse(text);
    if (!r.ok) throw new Error(body.error);
    const had = new Map(screen.windows.map(w => [w.id, w]));
    for (const w of body.windows) had.set(w.id, w);
    screen = body.base === undefined ? body : Object.assign(body, {windows: body.order.map(id => had.get(id))});
    return text.length;
  };
  await act({kind: 'tap', window: screen.windows.find(w => w.ctrlId === 108).id});
  await act({kind: 'tap', window: screen.windows.find(w => w.kind === 'push' && w.text === 'OK').id});
  const times = [];
  let bytes = 0;
  for (let i = 0; i < Number(count); ++i) {
    const box = screen.windows.find(w => w.kind === 'check');
    const start = process.hrtime.bigint();
    bytes += await act({kind: 'tap', window: box.id});
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  times.sort((a, b) => a - b);
  const at = (q) => times[Math.min(times.length - 1, Math.floor(q * times.length))].toFixed(2);
  console.log(times.length === 0 ? 'round trips: 0' :
              `round trips: ${times.length}, median ${at(0.5)} ms, p95 ${at(0.95)} ms, ` +
              `mean reply ${Math.round(bytes / times.length)} bytes`);
} finally {
  // Waits for the server to end, so that a profiler wrapping it has written its counts.
  const ended = new Promise((resolve) => child.on('exit', resolve));
  child.kill('SIGTERM');
  await ended;
}
