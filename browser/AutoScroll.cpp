#include "browser/AutoScroll.h"

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

const QString ScriptName = QStringLiteral("orvanta-auto-scroll");

// The pace is read at every frame, so that a new one applies at once; one loop per document.
QString Source(int seconds)
{
    return QStringLiteral(R"((() => {
  const state = window.orvantaScroll || (window.orvantaScroll = {paused: false});
  state.seconds = %1;
  if (state.running)
    return;
  state.running = true;
  const rest = (then) => setTimeout(then, 5000);
  const wait = () => setTimeout(pass, 1000);
  let position = 0;
  function pass() {
    const page = document.scrollingElement;
    if (!page || !state.seconds || state.paused || page.scrollHeight - page.clientHeight <= 1)
      return wait();
    position = page.scrollTop;
    let last = performance.now();
    const move = (now) => {
      if (!state.seconds || state.paused)
        return wait();
      const room = page.scrollHeight - page.clientHeight;
      position = Math.min(room, position + room * (now - last) / (state.seconds * 1000));
      last = now;
      page.scrollTop = position;
      if (position >= room)
        return rest(() => { page.scrollTop = 0; rest(pass); });
      requestAnimationFrame(move);
    };
    requestAnimationFrame(move);
  }
  rest(pass);
})();)")
        .arg(seconds);
}

} // namespace

void ApplyAutoScroll(QWebEnginePage& page, int seconds)
{
    QWebEngineScriptCollection& scripts = page.scripts();
    const QList<QWebEngineScript> old = scripts.find(ScriptName);
    // A site that doesn't scroll runs nothing for it (a world of the program's own costs memory).
    if (seconds <= 0 && old.isEmpty())
        return;
    for (const QWebEngineScript& each : old)
        scripts.remove(each);
    if (seconds > 0) {
        QWebEngineScript script;
        script.setName(ScriptName);
        script.setInjectionPoint(QWebEngineScript::DocumentReady);
        script.setWorldId(QWebEngineScript::ApplicationWorld);
        script.setRunsOnSubFrames(false);
        script.setSourceCode(Source(seconds));
        scripts.insert(script);
        page.runJavaScript(Source(seconds), QWebEngineScript::ApplicationWorld);
    } else {
        page.runJavaScript(QStringLiteral("window.orvantaScroll && (window.orvantaScroll.seconds = 0)"),
                           QWebEngineScript::ApplicationWorld);
    }
}

void PauseAutoScroll(QWebEnginePage& page, bool paused)
{
    if (page.scripts().find(ScriptName).isEmpty())
        return;
    page.runJavaScript(QStringLiteral("window.orvantaScroll && (window.orvantaScroll.paused = %1)").arg(paused ? "true" : "false"),
                       QWebEngineScript::ApplicationWorld);
}
