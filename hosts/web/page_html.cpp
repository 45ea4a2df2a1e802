// The page zura-web serves: the handheld's screen in a plain frame. Every control is drawn by
// page.js as an element at its place; text uses the DejaVu files the platform measured with, at
// the same pixel sizes, without kerning, so what was measured is what is shown.
#include "hosts/web/web.h"

const char webPageHtml[] = R"PAGE(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Zura</title>
<style>
  body { margin: 0; background: #e9ecef; font: 13px "DejaVu Sans", sans-serif; color: #222; }
  #device { width: 240px; margin: 28px auto 12px; padding: 26px 14px 44px; background: #23272b;
            border-radius: 20px; box-shadow: 0 6px 18px rgba(0, 0, 0, 0.35); }
  #screen { position: relative; width: 240px; height: 320px; overflow: hidden; background: #fff;
            outline: none; user-select: none; cursor: default; }
  #screen div, #screen img, #screen svg { position: absolute; box-sizing: border-box; }
  #screen img { image-rendering: pixelated; }
  #screen .text { white-space: pre; overflow: hidden; font-kerning: none; font-synthesis: none;
                  font-variant-ligatures: none; font-weight: normal; font-style: normal; }
  #screen .wrap { white-space: pre-wrap; overflow-wrap: break-word; }
  #screen .caret { width: 1px; background: #000; animation: blink 1s steps(1) infinite; }
  @keyframes blink { 50% { visibility: hidden; } }
  #screen .ended { left: 0; top: 0; width: 100%; height: 100%; background: rgba(255, 255, 255, 0.92);
                   display: flex; flex-direction: column; align-items: center; justify-content: center; gap: 10px; }
  #screen .ended button { position: static; font: inherit; }
  #note { text-align: center; min-height: 1.5em; color: #8a1c1c; font-size: 12px; }
  #help { text-align: center; color: #666; font-size: 11px; }
</style>
</head>
<body>
<div id="device"><div id="screen" tabindex="0" aria-label="Zura screen"></div></div>
<div id="note" role="status"></div>
<div id="help">Tap with the mouse; type on the keyboard; the wheel scrolls. Ctrl+Q closes the program.</div>
<script src="/page.js"></script>
</body>
</html>
)PAGE";
