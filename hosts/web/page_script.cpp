// page.js: draws the screen zura-web sends (every visible window, bottom of the z order first,
// each at its screen rectangle), scaled to the largest size the browser window holds, and sends
// the user's taps, picks, swipes, wheel notches and keys back as actions, one at a time, each
// aimed at the screen it was made on. A reply may carry only the windows that changed. The
// keyboard moves a focus ring over the tappable controls in screen order; the browser's own
// shortcuts are left to the browser.
#include "hosts/web/web.h"

#include "platform/winapi.h"

namespace {

// The style bits the page tests, as JavaScript constants taken from the platform's header.
std::string styleBits()
{
#define BIT(name) {#name, long(name)}
    const struct {
        const char* name;
        long value;
    } bits[] = {BIT(WS_BORDER),    BIT(WS_EX_CLIENTEDGE), BIT(ES_CENTER),        BIT(ES_RIGHT),
                BIT(ES_MULTILINE), BIT(ES_PASSWORD),      BIT(SS_TYPEMASK),      BIT(SS_NOTIFY),
                BIT(BS_LEFTTEXT),  BIT(BS_TYPEMASK),      BIT(BS_DEFPUSHBUTTON), BIT(BS_MULTILINE),
                BIT(SBS_VERT),     BIT(LBS_MULTIPLESEL),  BIT(LBS_EXTENDEDSEL)};
#undef BIT
    std::string js;
    for (const auto& bit : bits)
        js += std::string("  const ") + bit.name + " = " + std::to_string(bit.value) + ";\n";
    return js;
}

} // namespace

const std::string webPageScript = R"PAGE('use strict';
(() => {
  const screenEl = document.getElementById('screen');
  const noteEl = document.getElementById('note');
  const fitEl = document.getElementById('fit');
  const deviceEl = document.getElementById('device');
  const stageEl = document.getElementById('stage');
  const sideEl = document.getElementById('side');
  const reportEl = document.getElementById('report');
)PAGE"
                       + styleBits() + R"PAGE(  const GRAY = '#8d8d8d', NAVY = '#1f4f8a';
  let current = null;
  let scale = 1;
  let ring = null;          // the id of the control the keyboard focus ring is on
  let ringAt = null;        // and its place
  let cursor = null;        // {id, index}: the line the arrow keys are on in an open list
  let lastEdit = null;      // the id of the entry field typed digits go to
  let queue = Promise.resolve();
  let pending = 0;
  const loadedFonts = new Map();

  function note(text) { noteEl.textContent = text || ''; }

  // One @font-face per DejaVu file, named after the file.
  function family(file) {
    const name = 'zura-' + file.replace(/\.ttf$/, '');
    if (!loadedFonts.has(file)) {
      const face = new FontFace(name, 'url(/fonts/' + file + ')');
      document.fonts.add(face);
      loadedFonts.set(file, face.load().catch(() => note('font ' + file + ' did not load')));
    }
    return '"' + name + '", "DejaVu Sans", sans-serif';
  }

  function box(r, parent) {
    const el = document.createElement('div');
    el.style.left = r[0] + 'px';
    el.style.top = r[1] + 'px';
    el.style.width = r[2] + 'px';
    el.style.height = r[3] + 'px';
    (parent || screenEl).appendChild(el);
    return el;
  }

  function local(r, origin) { return [r[0] - origin[0], r[1] - origin[1], r[2], r[3]]; }

  function setFont(el, font) {
    el.classList.add('text');
    if (!font) return 13;
    el.style.fontFamily = family(font.file);
    el.style.fontSize = font.size + 'px';
    el.style.lineHeight = font.height + 'px';
    if (font.underline) el.style.textDecoration = 'underline';
    return font.height;
  }

  // A text element inside parent at r (parent coordinates), vertically placed by valign.
  function text(parent, r, w, str, opts) {
    opts = opts || {};
    const el = box(r, parent);
    const lineHeight = setFont(el, w.font);
    el.textContent = str;
    el.style.color = opts.color || foreground(w);
    if (opts.align) el.style.textAlign = opts.align;
    if (opts.wrap) el.classList.add('wrap');
    if (opts.middle) {
      const lines = opts.wrap ? 1 : str.split('\n').length;
      const top = Math.floor((r[3] - lines * lineHeight) / 2);
      el.style.top = (r[1] + Math.max(0, top)) + 'px';
      el.style.height = Math.min(r[3], lines * lineHeight) + 'px';
    }
    return el;
  }

  // Colours the program's parent window gave the control (WM_CTLCOLOR*), else the standard ones.
  function foreground(w) { return !w.enabled ? GRAY : w.colors && w.colors.text ? w.colors.text : '#000'; }
  function background(w, standard) { return w.colors ? (w.colors.background || 'transparent') : standard; }

  function borderOf(w) {
    return (w.style & WS_BORDER ? 1 : 0) + (w.exStyle & WS_EX_CLIENTEDGE ? 2 : 0);
  }

  const draw = {
    window(w) {
      const el = box(w.rect);
      el.style.background = '#fff';
      if (w.image) {
        const img = document.createElement('img');
        img.src = w.image;
        img.style.left = '0px';
        img.style.top = '0px';
        img.draggable = false;
        el.appendChild(img);
      }
      return el;
    },
    dialog(w) {
      const el = box(w.rect);
      el.style.background = '#fff';
      el.style.border = '1px solid #2b2b2b';
      el.style.boxShadow = '2px 3px 6px rgba(0,0,0,0.35)';
      const captionTop = 3, captionHeight = w.client[1] - w.rect[1] - 3;
      if (captionHeight > 0) {
        const cap = box([2, captionTop - 1, w.rect[2] - 6, captionHeight], el);
        cap.style.background = NAVY;
        const t = text(cap, [4, 0, w.rect[2] - 14, captionHeight], w, w.text, {color: '#fff', middle: true});
        t.style.fontFamily = family('DejaVuSans-Bold.ttf');
      }
      return el;
    },
    static(w) {
      const type = w.style & SS_TYPEMASK;
      const align = type === 1 ? 'center' : type === 2 ? 'right' : 'left';
      const wrap = type <= 2;
      const el = text(screenEl, w.client, w, w.text, {align, wrap});
      el.style.background = background(w, 'transparent');
      return el;
    },
    push(w) {
      const el = box(w.rect);
      const def = (w.style & BS_TYPEMASK) === BS_DEFPUSHBUTTON;
      el.style.border = (def ? 2 : 1) + 'px solid #3c3c3c';
      el.style.borderRadius = '2px';
      el.style.background = w.pushed ? '#b9c2cc' : 'linear-gradient(#fdfdfd, #dde1e5)';
      const b = def ? 2 : 1;
      text(el, [0, 0, w.rect[2] - 2 * b, w.rect[3] - 2 * b], w, w.text,
           {align: 'center', middle: true, wrap: !!(w.style & BS_MULTILINE)});
      return el;
    },
    check(w) { return checkable(w, false); },
    radio(w) { return checkable(w, true); },
    group(w) {
      const el = box(w.rect);
      const frame = box([0, 6, w.rect[2], w.rect[3] - 6], el);
      frame.style.border = '1px solid #9a9a9a';
      const t = text(el, [6, 0, w.rect[2] - 12, 14], w, w.text);
      t.style.width = 'auto';
      t.style.background = '#fff';
      t.style.padding = '0 2px';
      return el;
    },
    owner(w) {
      if (!w.image) return box(w.rect);
      const img = document.createElement('img');
      img.src = w.image;
      img.draggable = false;
      img.style.left = w.rect[0] + 'px';
      img.style.top = w.rect[1] + 'px';
      screenEl.appendChild(img);
      return img;
    },
    edit(w) {
      const el = box(w.rect);
      const b = borderOf(w);
      if (b) el.style.border = b + 'px solid #000';
      el.style.background = background(w, w.enabled ? '#fff' : '#eef0f2');
      const inner = local(w.client, [w.rect[0] + b, w.rect[1] + b]);
      const shown = w.style & ES_PASSWORD ? '\u2022'.repeat(w.text.length) : w.text;
      const align = w.style & ES_CENTER ? 'center' : w.style & ES_RIGHT ? 'right' : 'left';
      const multi = !!(w.style & ES_MULTILINE);
      const t = text(el, [inner[0] + 1, inner[1], inner[2] - 2, inner[3]], w, shown, {align, wrap: multi});
      if (w.focused) {
        const caret = document.createElement('span');
        caret.className = 'caret';
        caret.style.position = 'relative';
        caret.style.display = 'inline-block';
        caret.style.height = (w.font ? w.font.height : 13) - 1 + 'px';
        caret.style.verticalAlign = 'text-bottom';
        t.appendChild(caret);
      }
      return el;
    },
    listbox(w) {
      const el = box(w.rect);
      const b = borderOf(w);
      if (b) el.style.border = b + 'px solid #000';
      el.style.background = background(w, '#fff');
      el.style.overflow = 'hidden';
      const inner = local(w.client, [w.rect[0] + b, w.rect[1] + b]);
      const h = w.itemHeight > 0 ? w.itemHeight : 16;
      const multi = !!(w.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
      for (let i = w.topIndex, y = inner[1]; i < w.items.length && y < inner[1] + inner[3]; ++i, y += h)
        listLine(el, [inner[0], y, inner[2], h], w, i, multi ? !!w.itemSelected[i] : i === w.selected);
      return el;
    },
    combo(w) {
      const el = box([w.rect[0], w.rect[1], w.rect[2], w.closedHeight]);
      el.style.border = '1px solid #000';
      el.style.background = w.enabled ? '#fff' : '#eef0f2';
      text(el, [2, 0, w.rect[2] - 19, w.closedHeight - 2], w, w.text, {middle: true});
      const arrow = box([w.rect[2] - 17, 0, 15, w.closedHeight - 2], el);
      arrow.style.background = 'linear-gradient(#fdfdfd, #dde1e5)';
      arrow.style.borderLeft = '1px solid #9a9a9a';
      triangle(arrow, 15, w.closedHeight - 2, 'down');
      if (w.dropped) {
        const h = w.itemHeight, r = comboList(w);
        const list = box(r);
        list.style.border = '1px solid #000';
        list.style.background = '#fff';
        list.style.zIndex = '1';
        w.items.forEach((item, i) => listLine(list, [0, i * h, r[2] - 2, h], w, i, i === w.selected));
        list.dataset.id = w.id;
        list.dataset.kind = 'droplist';
      }
      return el;
    },
    scrollbar(w) {
      const el = box(w.rect);
      el.style.background = '#e4e7ea';
      const g = scrollGeometry(w);
      const vertical = g.vertical;
      const arrowRect = (at) => vertical ? [0, at, w.rect[2], g.arrow] : [at, 0, g.arrow, w.rect[3]];
      [[0, vertical ? 'up' : 'left'], [g.length - g.arrow, vertical ? 'down' : 'right']].forEach(([at, dir]) => {
        const a = box(arrowRect(at), el);
        a.style.background = 'linear-gradient(#fdfdfd, #dde1e5)';
        a.style.border = '1px solid #9aa3ab';
        triangle(a, vertical ? w.rect[2] - 2 : g.arrow - 2, vertical ? g.arrow - 2 : w.rect[3] - 2, dir);
      });
      const thumb = box(vertical ? [1, g.thumbStart, w.rect[2] - 2, g.thumbLength] : [g.thumbStart, 1, g.thumbLength, w.rect[3] - 2], el);
      thumb.style.background = '#9fb3c8';
      thumb.style.border = '1px solid #6d8196';
      thumb.style.borderRadius = '2px';
      thumb.className = 'thumb';
      return el;
    },
    other(w) { return box(w.rect); },
  };

  function checkable(w, round) {
    const el = box(w.rect);
    el.style.background = background(w, 'transparent');
    const right = !!(w.style & BS_LEFTTEXT);
    const size = 13, top = Math.floor((w.rect[3] - size) / 2);
    const mark = box([right ? w.rect[2] - size : 0, top, size, size], el);
    mark.style.border = '1px solid ' + (w.enabled ? '#333' : GRAY);
    mark.style.background = w.pushed ? '#dde1e5' : '#fff';
    if (round) mark.style.borderRadius = '50%';
    if (w.check === 1 && !round)
      mark.innerHTML = '<svg width="11" height="11" viewBox="0 0 11 11" style="left:0;top:0">' +
                       '<path d="M2 5.5 L4.5 8 L9 2.5" stroke="#000" stroke-width="1.8" fill="none"/></svg>';
    if (w.check === 1 && round) {
      const dot = box([3, 3, 5, 5], mark);
      dot.style.borderRadius = '50%';
      dot.style.background = '#000';
    }
    if (w.check === 2) {
      const fill = box([2, 2, 7, 7], mark);
      fill.style.background = GRAY;
    }
    const gap = size + 4;
    text(el, [right ? 0 : gap, 0, w.rect[2] - gap, w.rect[3]], w, w.text,
         {middle: true, align: right ? 'right' : 'left'});
    return el;
  }

  // A dropped list opens below its box, or above it when the screen has no room below.
  function comboList(w) {
    const height = w.items.length * w.itemHeight + 2;
    const below = w.rect[1] + w.closedHeight;
    const y = below + height <= current.height || w.rect[1] < height ? below : w.rect[1] - height;
    return [w.rect[0], y, w.rect[2], height];
  }

  function listLine(parent, r, w, index, chosen) {
    const t = text(parent, r, w, w.items[index], {color: chosen ? '#fff' : undefined});
    t.style.paddingLeft = '2px';
    if (chosen) t.style.background = NAVY;
    return t;
  }

  function triangle(parent, width, height, dir) {
    const s = 7, half = 3.5;
    const cx = width / 2, cy = height / 2;
    const points = {
      down: [[cx - half, cy - 2], [cx + half, cy - 2], [cx, cy + 2]],
      up: [[cx - half, cy + 2], [cx + half, cy + 2], [cx, cy - 2]],
      left: [[cx + 2, cy - half], [cx + 2, cy + half], [cx - 2, cy]],
      right: [[cx - 2, cy - half], [cx - 2, cy + half], [cx + 2, cy]],
    }[dir];
    const svgNs = 'http://www.w3.org/2000/svg';
    const svg = document.createElementNS(svgNs, 'svg');
    svg.setAttribute('width', width);
    svg.setAttribute('height', height);
    svg.style.left = '0px';
    svg.style.top = '0px';
    const poly = document.createElementNS(svgNs, 'polygon');
    poly.setAttribute('points', points.map(p => p.join(',')).join(' '));
    poly.setAttribute('fill', '#1d2a36');
    svg.appendChild(poly);
    parent.appendChild(svg);
    return s;
  }

  function scrollGeometry(w) {
    const vertical = !!(w.style & SBS_VERT);
    const length = vertical ? w.rect[3] : w.rect[2];
    const arrow = Math.min(vertical ? w.rect[2] : w.rect[3], Math.floor(length / 2));
    const track = Math.max(0, length - 2 * arrow);
    const s = w.scroll || {min: 0, max: 0, page: 0, pos: 0};
    const range = Math.max(1, s.max - s.min + 1);
    const page = s.page > 0 ? Math.min(s.page, range) : 1;
    const thumbLength = Math.min(track, Math.max(8, Math.round(track * page / range)));
    const highest = s.page > 0 ? s.max - s.page + 1 : s.max;
    const span = Math.max(1, highest - s.min);
    const thumbStart = arrow + Math.round((track - thumbLength) * Math.min(1, Math.max(0, (s.pos - s.min) / span)));
    return {vertical, length, arrow, track, thumbLength, thumbStart, min: s.min, highest, span};
  }

  // The order windows are drawn in, so that what is on top takes the taps: each window before its
  // children, siblings from the bottom of the z order up (the one made first is on top).
  function paintOrder(windows) {
    const children = new Map();
    const roots = [];
    for (const w of windows) {
      if (w.parent && windows.some(p => p.id === w.parent)) {
        if (!children.has(w.parent)) children.set(w.parent, []);
        children.get(w.parent).push(w);
      } else {
        roots.push(w);
      }
    }
    const out = [];
    const visit = (w) => {
      out.push(w);
      const kids = (children.get(w.id) || []).slice().sort((a, b) => b.z - a.z);
      kids.forEach(visit);
    };
    roots.forEach(visit);
    return out;
  }

  // A reply that carries only the changed windows is merged with the screen it was made from.
  function merge(s) {
    if (s.base === undefined) return s;
    if (!current || current.seq !== s.base) return null;
    const had = new Map(current.windows.map(w => [w.id, w]));
    for (const w of s.windows) had.set(w.id, w);
    const windows = s.order.map(id => had.get(id));
    if (windows.some(w => !w)) return null;
    const full = Object.assign({}, s, {windows});
    delete full.base;
    delete full.order;
    return full;
  }

  function render(s) {
    if (s && s.base !== undefined) {
      const merged = merge(s);
      if (!merged) return refresh();
      s = merged;
    }
    if (!s || !Array.isArray(s.windows)) return;
    const resized = !current || current.width !== s.width || current.height !== s.height;
    current = s;
    screenEl.textContent = '';
    screenEl.style.width = s.width + 'px';
    screenEl.style.height = s.height + 'px';
    screenEl.dataset.seq = s.seq;
    for (const w of paintOrder(s.windows)) {
      const el = (draw[w.kind] || draw.other)(w);
      if (el) {
        el.dataset.id = w.id;
        el.dataset.kind = w.kind;
      }
    }
    if (s.ended) {
      const over = document.createElement('div');
      over.className = 'ended';
      over.innerHTML = '<span>The program has ended.</span><button type="button">Start again</button>';
      over.querySelector('button').addEventListener('click', (e) => {
        e.stopPropagation();
        post('/restart', null);
      });
      screenEl.appendChild(over);
    }
    reportEl.hidden = !s.report;
    if (ring && !windowById(ring)) {
      // The program made the control again (a list opened or closed): the ring stays at its place.
      const same = ringAt && tappable().find(w => w.rect[0] === ringAt[0] && w.rect[1] === ringAt[1]);
      ring = same ? same.id : null;
    }
    if (cursor && !openList(cursor.id)) cursor = null;
    if (lastEdit && !windowById(lastEdit)) lastEdit = null;
    const focusedEdit = s.windows.find(w => w.kind === 'edit' && w.focused);
    if (focusedEdit) lastEdit = focusedEdit.id;
    showRing();
    if (resized) fit();
    fitCaptions();
  }

  // Captions are measured by the program in the same font file, but a browser's advances may
  // differ by a pixel or two: a caption that would be cut is narrowed to fit, never clipped.
  function fitCaptions() {
    const run = () => {
      for (const el of screenEl.querySelectorAll('.text')) {
        if (el.classList.contains('wrap') || !el.clientWidth) continue;
        if (el.scrollWidth > el.clientWidth) {
          el.style.overflow = 'visible';
          el.style.transform = 'scaleX(' + (el.clientWidth / el.scrollWidth).toFixed(4) + ')';
        }
      }
    };
    document.fonts.ready.then(() => Promise.all(loadedFonts.values())).then(run);
  }

  // The screen at the largest scale the window holds (phone portrait or landscape, desktop),
  // beside or below the Report button and the notes.
  function fit() {
    const width = current ? current.width : 240, height = current ? current.height : 320;
    const frame = parseFloat(getComputedStyle(deviceEl).paddingLeft) || 0;
    const beside = getComputedStyle(stageEl).flexDirection === 'row';
    const margin = frame ? 16 : 0;
    const room = [innerWidth - 2 * frame - margin - (beside ? sideEl.offsetWidth + 20 : 0),
                  innerHeight - 2 * frame - margin - (beside ? 0 : sideEl.offsetHeight + 8)];
    scale = Math.max(0.5, Math.min(room[0] / width, room[1] / height));
    fitEl.style.width = (width * scale) + 'px';
    fitEl.style.height = (height * scale) + 'px';
    screenEl.style.transform = scale === 1 ? '' : 'scale(' + scale + ')';
    screenEl.classList.toggle('whole', Number.isInteger(scale));
  }
  addEventListener('resize', fit);

  function refresh() {
    return fetch('/screen').then(r => r.json()).then((s) => {
      if (s.startAgain) return location.reload();   // the server's page says why, with a button
      if (s.error) note(s.error);
      render(s.windows ? s : s.screen);
    }).catch((e) => note('zura-web does not answer: ' + e.message));
  }

  function post(path, action) {
    pending++;
    queue = queue.then(async () => {
      if (action && current) action.seq = current.seq;
      const response = await fetch(path, {method: 'POST', headers: {'Content-Type': 'application/json'},
                                           body: JSON.stringify(action || {})});
      const body = await response.json().catch(() => null);
      if (body && body.startAgain) {
        location.reload();
      } else if (response.ok) {
        note('');
        render(body);
      } else {
        note((body && body.error) || response.statusText);
        if (body && body.screen) render(body.screen);
      }
    }).catch((e) => note('zura-web does not answer: ' + e.message)).finally(() => pending--);
    return queue;
  }

  function act(action) { return post('/action', action); }

  function windowById(id) { return current && current.windows.find(w => w.id === id); }

  function pointIn(e) {
    const r = screenEl.getBoundingClientRect();
    return [(e.clientX - r.left) / scale, (e.clientY - r.top) / scale];
  }

  function mainScrollBar() {
    if (!current) return null;
    const bars = current.windows.filter(w => w.kind === 'scrollbar' && w.enabled);
    return bars.find(w => w.ctrlId === 100) || bars[0];
  }

  function scrollLines(lines) {
    const bar = mainScrollBar();
    if (!bar || !lines || pending > 2) return;
    act({kind: 'scroll', window: bar.id, code: lines > 0 ? 'linedown' : 'lineup', lines: Math.min(40, Math.abs(lines))});
  }

  let dragging = null, swipe = null;

  screenEl.addEventListener('pointerdown', (e) => {
    screenEl.focus({preventScroll: true});
    if (e.pointerType === 'touch') {
      swipe = {id: e.pointerId, y: e.clientY, lines: 0, moved: false};
      return;
    }
    const thumb = e.target.closest('.thumb');
    const el = thumb && thumb.parentElement;
    const w = el && windowById(el.dataset.id);
    if (!w) return;
    const g = scrollGeometry(w);
    const [x, y] = pointIn(e);
    dragging = {w, g, from: g.vertical ? y : x, start: g.thumbStart, el: thumb, moved: false};
    thumb.setPointerCapture(e.pointerId);
    e.preventDefault();
  });
  screenEl.addEventListener('pointermove', (e) => {
    if (swipe && e.pointerId === swipe.id) {
      // A finger moving up shows what is below: one line per row of the screen's height.
      const rows = Math.trunc((swipe.y - e.clientY) / (16 * scale));
      if (Math.abs(swipe.y - e.clientY) > 8) swipe.moved = true;
      if (rows !== swipe.lines) {
        scrollLines(rows - swipe.lines);
        swipe.lines = rows;
      }
      return;
    }
    if (!dragging) return;
    const [x, y] = pointIn(e);
    const d = dragging, g = d.g;
    const at = Math.min(g.arrow + g.track - g.thumbLength, Math.max(g.arrow, d.start + (g.vertical ? y : x) - d.from));
    d.moved = d.moved || at !== d.start;
    d.at = at;
    d.el.style[g.vertical ? 'top' : 'left'] = at + 'px';
  });
  screenEl.addEventListener('pointercancel', () => { swipe = null; });
  screenEl.addEventListener('pointerup', (e) => {
    if (swipe && e.pointerId === swipe.id) {
      swipe.up = true;
      if (!swipe.moved) swipe = null;
      return;
    }
    if (!dragging) return;
    const d = dragging, g = d.g;
    dragging = null;
    if (!d.moved) return;
    const free = Math.max(1, g.track - g.thumbLength);
    const position = g.min + Math.round((d.at - g.arrow) / free * g.span);
    act({kind: 'scroll', window: d.w.id, code: 'to', position});
  });

  // What a tap on a window does; the keyboard presses the same way.
  function press(w, y) {
    if (w.kind === 'listbox') {
      const index = w.topIndex + Math.floor((y - w.client[1]) / (w.itemHeight > 0 ? w.itemHeight : 16));
      if (index >= 0 && index < w.items.length) act({kind: 'pick', window: w.id, index});
      return;
    }
    if (w.kind === 'edit') lastEdit = w.id;
    act({kind: 'tap', window: w.id});
  }

  screenEl.addEventListener('click', (e) => {
    if (swipe) { swipe = null; return; }   // the end of a swipe is no tap
    if (e.target.closest('.thumb')) return;
    const el = e.target.closest('[data-id]');
    const w = el && windowById(el.dataset.id);
    if (!w) return;
    const [x, y] = pointIn(e);
    cursor = null;
    if (el.dataset.kind === 'droplist') {
      const index = Math.floor((y - comboList(w)[1] - 1) / w.itemHeight);
      if (index >= 0 && index < w.items.length) act({kind: 'pick', window: w.id, index});
      return;
    }
    if (w.kind === 'scrollbar') {
      const g = scrollGeometry(w);
      const at = g.vertical ? y - w.rect[1] : x - w.rect[0];
      const code = at < g.arrow ? 'lineup' : at >= g.length - g.arrow ? 'linedown'
                 : at < g.thumbStart ? 'pageup' : 'pagedown';
      act({kind: 'scroll', window: w.id, code});
      return;
    }
    press(w, y);
  });

  // About three lines a wheel notch, as desktop programs scroll; Ctrl+wheel is the browser's zoom.
  let wheelRest = 0;
  screenEl.addEventListener('wheel', (e) => {
    if (e.ctrlKey || !e.deltaY) return;
    e.preventDefault();
    const lines = e.deltaMode === 1 ? e.deltaY : e.deltaMode === 2 ? e.deltaY * 16 : e.deltaY / 100 * 3;
    wheelRest += lines;
    const whole = Math.trunc(wheelRest);
    if (!whole) return;
    wheelRest -= whole;
    scrollLines(whole);
  }, {passive: false});

  // --- keyboard ----------------------------------------------------------------------------
  // The controls a finger can press, in screen order; inside a modal box only its own.
  function tappable() {
    if (!current) return [];
    const within = current.modal ? (w) => w.id === current.modal || w.parent === current.modal : () => true;
    return current.windows.filter(w => within(w) && w.enabled && w.depth > 0 && (
        ['check', 'radio', 'push', 'owner', 'edit', 'combo', 'listbox'].includes(w.kind) ||
        (w.kind === 'static' && (w.style & SS_NOTIFY))))
      .sort((a, b) => a.rect[1] - b.rect[1] || a.rect[0] - b.rect[0]);
  }

  // An open list: a list box of more than one line that has no drop button beside it (the
  // program hides the button while its list is open), or a dropped selector.
  function openList(id) {
    const w = windowById(id);
    if (!w) return null;
    if (w.kind === 'combo') return w.dropped ? w : null;
    if (w.kind !== 'listbox' || w.items.length < 2) return null;
    const button = current.windows.find(b => b.kind === 'owner' && b.parent === w.parent &&
                                             b.rect[0] === w.rect[0] + w.rect[2] && b.rect[1] === w.rect[1]);
    return button ? null : w;
  }
  function anyOpenList() {
    if (!current) return null;
    const ring_ = ring && openList(ring);
    if (ring_) return ring_;
    const w = current.windows.find(w => openList(w.id));
    return w || null;
  }

  function showRing() {
    for (const el of screenEl.querySelectorAll('.ring, .cursor')) el.classList.remove('ring', 'cursor');
    const el = ring && screenEl.querySelector('[data-id="' + ring + '"]:not([data-kind=droplist])');
    if (el) el.classList.add('ring');
    if (cursor) {
      const w = windowById(cursor.id);
      const host = w && screenEl.querySelector(w.kind === 'combo' ? '[data-kind=droplist][data-id="' + w.id + '"]'
                                                                 : '[data-id="' + w.id + '"]');
      const lines = host ? host.querySelectorAll('.text') : [];
      const at = w && w.kind === 'listbox' ? cursor.index - w.topIndex : cursor.index;
      if (lines[at]) lines[at].classList.add('cursor');
    }
  }

  // False when the ring leaves the screen past its last control: Tab then goes on to the
  // Report button as the browser moves it.
  function moveRing(step) {
    const list = tappable();
    if (!list.length) return false;
    let i = list.findIndex(w => w.id === ring);
    if (i >= 0 && i + step >= list.length && !current.modal) {
      ring = null;
      showRing();
      return false;
    }
    i = i < 0 ? (step > 0 ? 0 : list.length - 1) : (i + step + list.length) % list.length;
    ring = list[i].id;
    ringAt = list[i].rect;
    cursor = null;
    showRing();
    return true;
  }

  function moveCursor(list, step) {
    const chosen = list.kind === 'combo' ? list.selected : list.selected >= 0 ? list.selected : 0;
    const from = cursor && cursor.id === list.id ? cursor.index : Math.max(0, chosen);
    cursor = {id: list.id, index: Math.min(list.items.length - 1, Math.max(0, from + step))};
    showRing();
  }

  function typeTarget() {
    const w = ring && windowById(ring);
    if (w && w.kind === 'edit') return w.id;
    return lastEdit && windowById(lastEdit) ? lastEdit : undefined;
  }

  function activate() {
    const list = anyOpenList();
    if (cursor && list && cursor.id === list.id) {
      act({kind: 'pick', window: list.id, index: cursor.index});
      cursor = null;
      return true;
    }
    const w = ring && windowById(ring);
    if (!w) return false;
    if (w.kind === 'listbox') {
      act({kind: 'pick', window: w.id, index: Math.max(0, w.selected)});
      return true;
    }
    press(w, 0);
    return true;
  }

  const namedKeys = {Escape: 'esc', ArrowLeft: 'left', ArrowRight: 'right', Delete: 'delete'};
  document.addEventListener('keydown', (e) => {
    if (e.target instanceof HTMLButtonElement || e.target instanceof HTMLInputElement) return;
    if (e.altKey || e.metaKey) return;
    if (e.ctrlKey) {
      // The program's own accelerator; every other chord (zoom, print, find, reload) is the browser's.
      if (e.key === 'q' || e.key === 'Q') {
        e.preventDefault();
        act({kind: 'key', key: 'q', ctrl: true, shift: e.shiftKey});
      }
      return;
    }
    if (!current || current.ended) return;
    const list = anyOpenList();
    if (e.key === 'Tab') {
      if (moveRing(e.shiftKey ? -1 : 1)) e.preventDefault();
    } else if (e.key === 'ArrowUp' || e.key === 'ArrowDown') {
      e.preventDefault();
      const step = e.key === 'ArrowUp' ? -1 : 1;
      if (list) moveCursor(list, step);
      else scrollLines(step);
    } else if (e.key === 'PageUp' || e.key === 'PageDown') {
      e.preventDefault();
      const bar = mainScrollBar();
      if (bar) act({kind: 'scroll', window: bar.id, code: e.key === 'PageUp' ? 'pageup' : 'pagedown'});
    } else if (e.key === 'Enter' || (e.key === ' ' && (ring || (cursor && list)))) {
      e.preventDefault();
      if (!activate()) act({kind: 'key', key: 'enter'});
    } else if (e.key === 'Backspace') {
      e.preventDefault();
      act({kind: 'type', text: '\b', window: typeTarget()});
    } else if (namedKeys[e.key]) {
      e.preventDefault();
      act({kind: 'key', key: namedKeys[e.key], shift: e.shiftKey});
    } else if (e.key.length === 1) {
      e.preventDefault();
      act({kind: 'type', text: e.key, window: typeTarget()});
    }
  });

  reportEl.addEventListener('click', () => window.open('/report', '_blank'));
  // Coming back from the report (or another tab) shows the screen as it is now.
  document.addEventListener('visibilitychange', () => { if (!document.hidden && !pending) refresh(); });

  // For tests and tools: the screen shown and a promise that settles when no action is pending.
  window.zura = {
    get screen() { return current; },
    get scale() { return scale; },
    idle() { return queue.then(() => Promise.all(loadedFonts.values())).then(() => document.fonts.ready); },
  };

  fit();
  refresh();
})();
)PAGE";
