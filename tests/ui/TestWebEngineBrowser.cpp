// The real browser engine on the sample's product page: it loads inside the time limit, the page's
// styles and pictures are in effect, and a link out of the data folder goes to the desktop's
// "open" instead of the viewer. Runs offscreen; as root the engine's sandbox is turned off.
#include "tests/support/GuiTestApp.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/SampleDataSet.h"
#include "ui/InformationPages.h"
#include "ui/web/WebEngineInfoBrowser.h"

#include "search/QdLocs.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QApplication& engineApp()
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The engine shares its GL context with the application's.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return guiTestApp();
}

// Runs a script in the page and waits for its answer (at most a few seconds).
QVariant evaluate(QWebEnginePage* page, const QString& script)
{
    QVariant answer;
    bool done = false;
    QEventLoop loop;
    page->runJavaScript(script, [&](const QVariant& v) {
        answer = v;
        done = true;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    return answer;
}

bool waitFor(const std::function<bool()>& condition)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        if (condition())
            return true;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return condition();
}

} // namespace

TEST(WebEngineBrowser, ShowsTheSampleProductPageAndSendsOutsideLinksToTheDesktop)
{
    engineApp();
    SampleDataSet sample;
    std::string error;
    ASSERT_TRUE(sample.make(500, 5, &error)) << error;
    QdLocs locs;
    QWidget area;
    area.resize(1000, 700);
    area.show();
    auto* pages = new InformationPages(&area, locs);
    auto shell = std::make_shared<RecordingShell>();
    const QString folder = QString::fromStdString(sample.folder());
    pages->setBrowser(makeWebEngineInfoBrowser, folder, shell);
    pages->setWaitLimit(30000);

    pages->showPage(u"InfoProductos"_s);
    ASSERT_NE(pages->browser(), nullptr);
    EXPECT_FALSE(pages->browser()->isLoading());
    EXPECT_EQ(pages->browser()->url(), QUrl::fromLocalFile(folder + u"/info/Productos.html"_s));
    auto* view = qobject_cast<QWebEngineView*>(pages->WebBrowser1());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisibleTo(&area));
    QWebEnginePage* page = view->page();
    EXPECT_EQ(page->title(), u"Productos Ortelia"_s);
    // The style sheet is in effect and every picture has decoded.
    EXPECT_EQ(evaluate(page, u"getComputedStyle(document.querySelector('h1')).fontWeight"_s).toString(), u"700"_s);
    EXPECT_GT(evaluate(page, u"document.querySelectorAll('img, svg').length"_s).toInt(), 0);
    EXPECT_TRUE(evaluate(page, u"Array.from(document.images).every(i => i.complete && i.naturalWidth > 0)"_s).toBool());

    // A link out of the folder: the desktop opens it and the page stays.
    const QString outside = evaluate(page, u"(() => { const a = Array.from(document.links).find("
                                           u"l => l.protocol.startsWith('http')); if (!a) return ''; "
                                           u"a.click(); return a.href; })()"_s)
                                .toString();
    ASSERT_FALSE(outside.isEmpty());
    EXPECT_TRUE(waitFor([&] { return !shell->addresses().empty(); }));
    ASSERT_FALSE(shell->addresses().empty());
    EXPECT_EQ(shell->addresses().front(), outside);
    EXPECT_EQ(pages->browser()->url(), QUrl::fromLocalFile(folder + u"/info/Productos.html"_s));
}
