// The page zura-web serves: the handheld's screen in a plain frame, scaled to fit the window. Every control is drawn by
// page.js as an element at its place; text uses the DejaVu files the platform measured with, at
// the same pixel sizes, without kerning, so what was measured is what is shown.
#include "hosts/web/web.h"

const char webPageHead[] = R"HEAD(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Zura</title>
)HEAD";

const std::string webPageHtml = webPageHead + std::string(R"PAGE(<style>
  html, body { margin: 0; }
  body { background: #e9ecef; font: 14px "DejaVu Sans", sans-serif; color: #222; }
  #stage { display: flex; flex-direction: column; align-items: center; gap: 8px; padding: 8px 0; }
  #device { padding: 14px; background: #23272b; border-radius: 18px; box-shadow: 0 6px 18px rgba(0, 0, 0, 0.35); }
  #fit { position: relative; overflow: hidden; width: 240px; height: 320px; }
  #screen { position: absolute; left: 0; top: 0; width: 240px; height: 320px; overflow: hidden; background: #fff;
            outline: none; user-select: none; -webkit-user-select: none; cursor: default; transform-origin: 0 0;
            touch-action: pinch-zoom; }
  #screen div, #screen img, #screen svg { position: absolute; box-sizing: border-box; }
  #screen img { image-rendering: auto; }
  #screen.whole img { image-rendering: pixelated; }
  #screen .text { white-space: pre; overflow: hidden; font-kerning: none; font-synthesis: none;
                  font-variant-ligatures: none; font-weight: normal; font-style: normal; transform-origin: 0 50%; }
  #screen .wrap { white-space: pre-wrap; overflow-wrap: break-word; }
  #screen .caret { width: 1px; background: #000; animation: blink 1s steps(1) infinite; }
  #screen .ring { outline: 2px solid #e07b00; outline-offset: 0; z-index: 5; }
  #screen .cursor { outline: 1px dotted #e07b00; outline-offset: -1px; }
  @keyframes blink { 50% { visibility: hidden; } }
  #screen .ended { left: 0; top: 0; width: 100%; height: 100%; background: rgba(255, 255, 255, 0.92); z-index: 9;
                   display: flex; flex-direction: column; align-items: center; justify-content: center; gap: 10px; }
  #screen .ended button { position: static; font: inherit; }
  #side { display: flex; flex-wrap: wrap; align-items: center; justify-content: center; gap: 6px 12px;
          max-width: 94vw; }
  #report { font: inherit; font-size: 15px; padding: 6px 18px; }
  #note { text-align: center; color: #8a1c1c; font-size: 14px; max-width: 30em; }
  #note:empty { display: none; }
  #help { text-align: center; color: #555; font-size: 12px; max-width: 30em; }
  @media (min-width: 700px) and (min-aspect-ratio: 1/1) {
    #stage { flex-direction: row; align-items: flex-start; justify-content: center; gap: 20px; }
    #side { flex-direction: column; align-items: stretch; width: 11em; margin-top: 14px; }
    #note, #help { text-align: left; }
  }
  @media (max-width: 520px) {
    #stage { padding: 0; gap: 6px; }
    #device { padding: 0; border-radius: 0; box-shadow: none; }
  }
</style>
</head>
<body>
<main id="stage">
<div id="device"><div id="fit"><div id="screen" tabindex="0" role="application" aria-label="Zura screen"></div></div></div>
<div id="side">
<button id="report" type="button" hidden>Report</button>
<div id="note" role="status"></div>
<div id="help">Tap or click to choose; swipe or use the wheel to scroll. Keyboard: Tab moves, Space or Enter presses,
arrows move in a list. Ctrl+Q closes the program.</div>
</div>
</main>
<script src="/page.js"></script>
</body>
</html>
)PAGE");
