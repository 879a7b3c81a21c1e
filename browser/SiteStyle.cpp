#include "browser/SiteStyle.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

const QString ScriptName = QStringLiteral("orvanta-site-style");

// The script for one style sheet, the CSS as a JSON string.
QString Source(const QString& css)
{
    const QByteArray literal = QJsonDocument(QJsonArray{css}).toJson(QJsonDocument::Compact);
    return QStringLiteral(R"((() => {
  const css = %1[0];
  const id = 'orvanta-site-style';
  const state = window.orvantaSiteStyle || (window.orvantaSiteStyle = {});
  if (state.observer)
    state.observer.disconnect();
  const apply = () => {
    let sheet = document.getElementById(id);
    if (!css) {
      if (sheet)
        sheet.remove();
      return;
    }
    if (!document.documentElement)
      return;
    if (!sheet) {
      sheet = document.createElement('style');
      sheet.id = id;
      (document.head || document.documentElement).appendChild(sheet);
    }
    if (sheet.textContent !== css)
      sheet.textContent = css;
  };
  apply();
  if (css) {
    state.observer = new MutationObserver(apply);
    state.observer.observe(document, {childList: true, subtree: true});
  }
})();)")
        .arg(QString::fromUtf8(literal));
}

} // namespace

void ApplySiteStyle(QWebEnginePage& page, const QString& css)
{
    QWebEngineScriptCollection& scripts = page.scripts();
    const QList<QWebEngineScript> old = scripts.find(ScriptName);
    // A site without a style runs nothing for it: a script of the program's own world costs its
    // renderer a world of its own.
    if (css.isEmpty() && old.isEmpty())
        return;
    for (const QWebEngineScript& each : old)
        scripts.remove(each);
    const QString source = Source(css);
    if (!css.isEmpty()) {
        QWebEngineScript script;
        script.setName(ScriptName);
        script.setInjectionPoint(QWebEngineScript::DocumentCreation);
        script.setWorldId(QWebEngineScript::ApplicationWorld);
        script.setRunsOnSubFrames(false);
        script.setSourceCode(source);
        scripts.insert(script);
    }
    // The document shown now changes at once, without a reload.
    page.runJavaScript(source, QWebEngineScript::ApplicationWorld);
}
