// The plain pages the front gives in place of the program: a session that ended or whose program
// stopped (with a "Start again" button), and a server that holds all the sessions it may.
#include "hosts/web/web.h"

std::string webNoticePage(const std::string& heading, const std::string& sentence, WebNoticeButton button)
{
    std::string out = webPageHead + std::string(R"(<style>
  body { margin: 0; background: #e9ecef; font: 16px "DejaVu Sans", sans-serif; color: #222; }
  main { max-width: 30em; margin: 12vh auto 0; padding: 24px; background: #fff; border-radius: 12px;
         box-shadow: 0 4px 14px rgba(0, 0, 0, 0.2); }
  h1 { font-size: 22px; margin: 0 0 12px; }
  p { line-height: 1.45; margin: 0 0 18px; }
  button { font: inherit; font-size: 18px; padding: 10px 24px; }
  #why:empty { display: none; }
  #why { color: #8a1c1c; }
  @media (max-width: 520px) { main { margin: 0; border-radius: 0; min-height: 100vh; box-sizing: border-box; } }
</style>
</head>
<body>
<main>
<h1>)");
    out += heading + "</h1>\n<p>" + sentence + "</p>\n";
    if (button == WebNoticeButton::StartAgain)
        out += R"(<button id="again" type="button" autofocus>Start again</button>
<p id="why" role="status"></p>
<script>
  document.getElementById('again').addEventListener('click', async () => {
    const r = await fetch('/session', {method: 'POST', headers: {'Content-Type': 'application/json'}, body: '{}'})
        .catch(() => null);
    const body = r && await r.json().catch(() => null);
    if (r && r.ok) location.replace('/');
    else document.getElementById('why').textContent = (body && body.error) || 'zura-web does not answer; try again.';
  });
</script>
)";
    else if (button == WebNoticeButton::TryAgain)
        out += R"HTML(<button type="button" onclick="location.reload()" autofocus>Try again</button>
)HTML";
    out += "</main>\n</body>\n</html>\n";
    return out;
}
