// The view of the last run's shape: when "View" can be used, a report line
// that opens the view framed on its place, the name of the triangle under
// the cursor, and the switch between the shape as read and as written.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <chrono>
#include <thread>

#include "generator/shape_generator.h"
#include "picture/shape_picture.h"
#include "run/fix_run.h"
#include "run_gate.h"
#include "sound_shape.h"
#include "ui/shape_canvas.h"
#include "ui/view_window.h"
#include "window_test.h"

namespace orvane::test {
namespace {

class WindowView : public WindowTest {
protected:
    // One primitive of 3000 triangles (split under the default 2800), a few of them with a 1 mm edge.
    std::filesystem::path splitShape() {
        ShapeParameters params;
        params.triangles = 3000;
        params.trianglesPerPrimitive = 3000;
        params.geometryNodesPerSubObject = 1;
        params.shortEdgeFraction = 0.002;
        const auto path = dir.path() / "split.s";
        writeGeneratedShape(path, params);
        return path;
    }

    QPushButton& viewButton() { return control<QPushButton>(window, "cmdView"); }

    // Handles events until the view shows the frame last asked for.
    static bool waitForFrame(ui::ViewWindow& view) {
        QElapsedTimer waited;
        waited.start();
        while (!view.canvas().frameCurrent() && waited.elapsed() < 30000) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return view.canvas().frameCurrent();
    }

    // A real double click on a row of the report list.
    void doubleClickRow(int row) {
        const QModelIndex index = list().model()->index(row, 0);
        list().scrollTo(index);
        QWidget* target = list().viewport();
        const QPointF at = list().visualRect(index).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                  QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        }
    }

    int firstRowStartingWith(const QString& start) {
        const QStringList lines = list().lines();
        for (int row = 0; row < lines.size(); ++row)
            if (lines[row].startsWith(start)) return row;
        return -1;
    }
};

TEST_F(WindowView, ViewIsOffUntilAShapeIsReadAndDuringARun) {
    EXPECT_FALSE(viewButton().isEnabled());
    const auto shape = splitShape();
    {
        RunGate gate(window, kCheckingLods);
        window.runFile(shape);
        ASSERT_TRUE(gate.waitReached());
        EXPECT_FALSE(viewButton().isEnabled());
        gate.release();
        ASSERT_TRUE(waitForRun(window));
    }
    EXPECT_TRUE(viewButton().isEnabled());

    // An unreadable file leaves nothing to view.
    writeBytes(dir.path() / "empty.s", "");
    runAndWait(window, dir.path() / "empty.s");
    EXPECT_FALSE(viewButton().isEnabled());
}

TEST_F(WindowView, DoubleClickingAShortEdgeLineFramesTheEdge) {
    runAndWait(window, splitShape());
    const int row = firstRowStartingWith(QStringLiteral("\t\tPoly"));
    ASSERT_GE(row, 0);
    doubleClickRow(row + 1);  // the edge's second line names it too

    ASSERT_NE(window.view(), nullptr);
    ui::ViewWindow& view = *window.view();
    EXPECT_TRUE(view.isVisible());
    const geometry::PlacedFinding* edge = view.selectedFinding();
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->kind, geometry::FindingKind::ShortEdge);
    EXPECT_EQ(QStringLiteral("\t\tPoly%1").arg(edge->polyNumber), list().lines()[row].section(u'\t', 0, 2));

    // The edge is at the middle of the picture.
    ASSERT_TRUE(waitForFrame(view));
    const QSize size = view.canvas().size();
    const picture::Camera camera = view.canvas().orbit().camera(size.width(), size.height());
    const geometry::Vec3f middle{(edge->a.x + edge->b.x) / 2, (edge->a.y + edge->b.y) / 2, (edge->a.z + edge->b.z) / 2};
    const picture::Camera::Projected at = camera.project(middle);
    EXPECT_NEAR(at.x, size.width() / 2.0, 2.0);
    EXPECT_NEAR(at.y, size.height() / 2.0, 2.0);
}

TEST_F(WindowView, TheTriangleUnderTheCursorIsNamed) {
    runAndWait(window, splitShape());
    viewButton().click();
    ui::ViewWindow& view = *window.view();
    ASSERT_TRUE(waitForFrame(view));
    ui::ShapeCanvas& canvas = view.canvas();
    const picture::Image& image = canvas.shownImage();
    ASSERT_EQ(image.width, canvas.width());  // one pixel a point offscreen

    const int middle = image.height / 2;
    int x = 0;
    while (x < image.width && image.idAt(x, middle) == picture::kNoTriangle) ++x;
    ASSERT_LT(x, image.width);
    const auto tag = window.view()->canvas().nameAt(QPoint(x, middle));
    QMouseEvent move(QEvent::MouseMove, QPointF(x, middle), canvas.mapToGlobal(QPointF(x, middle)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &move);
    const QString name = control<QLabel>(view, "cursorName").text();
    EXPECT_EQ(name, tag);
    EXPECT_TRUE(name.startsWith(QStringLiteral("LOD 0, sub-object 0, primitive 0, triangle "))) << name.toStdString();
}

TEST_F(WindowView, RepairedShowsTheSplitPieces) {
    runAndWait(window, splitShape());
    viewButton().click();
    ui::ViewWindow& view = *window.view();
    ASSERT_EQ(view.shownLod()->primitives.size(), 1u);
    auto& repaired = control<QRadioButton>(view, "repaired");
    ASSERT_TRUE(repaired.isEnabled());
    repaired.click();
    ASSERT_TRUE(view.showingRepaired());

    // The primitive of 3000 triangles became two pieces, drawn and listed as such.
    const geometry::LodGeometry& lod = *view.shownLod();
    ASSERT_EQ(lod.primitives.size(), 2u);
    EXPECT_EQ(lod.primitives[0].piece, 1);
    EXPECT_EQ(lod.primitives[1].piece, 2);
    int pieces = 0;
    for (const geometry::PlacedFinding& f : lod.findings) pieces += f.kind == geometry::FindingKind::SplitPiece;
    EXPECT_EQ(pieces, 2);
    ASSERT_TRUE(waitForFrame(view));
    EXPECT_EQ(view.canvas().shownImage().width, view.canvas().width());

    control<QRadioButton>(view, "original").click();
    EXPECT_EQ(view.shownLod()->primitives.size(), 1u);
}

TEST_F(WindowView, TheShapesOwnFindingsAreListedAndOutlined) {
    // One triangle, and a geometry_info that counts two.
    const auto path = dir.path() / "miscounted.s";
    std::string miscounted(kSoundShape);
    miscounted.replace(miscounted.find("geometry_info ( 1 "), 18, "geometry_info ( 2 ");
    writeShape(path, miscounted);
    runAndWait(window, path);
    viewButton().click();
    ui::ViewWindow& view = *window.view();
    auto& findings = control<QListView>(view, "findings");
    ASSERT_EQ(findings.model()->rowCount(), 1);
    const QModelIndex row = findings.model()->index(0, 0);
    EXPECT_TRUE(row.data().toString().startsWith(QStringLiteral("Polygons \"2\" but the triangle lists hold 1")))
        << row.data().toString().toStdString();
    findings.setCurrentIndex(row);

    // Its sub-object is outlined.
    ASSERT_TRUE(waitForFrame(view));
    const picture::Image& image = view.canvas().shownImage();
    const picture::Rgb outline = picture::colours::kSelection;
    bool outlined = false;
    for (int y = 0; y < image.height && !outlined; ++y)
        for (int x = 0; x < image.width && !outlined; ++x) {
            const std::uint8_t* p = image.pixel(x, y);
            outlined = p[0] == outline.r && p[1] == outline.g && p[2] == outline.b;
        }
    EXPECT_TRUE(outlined);
}

}  // namespace
}  // namespace orvane::test
