#pragma once

#include "core/readingtable.h"
#include "platform/pictureahead.h"

#include <QMainWindow>
#include <QVector>

#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace vellara::platform {
class PictureElement;
}

namespace vellara {

struct CoreState;
class LayoutEditMode;

// The reading table: the program's main window and its start-up object.
class Celtic : public QMainWindow, public ReadingTable {
    Q_OBJECT

public:
    explicit Celtic(CoreState &state, QWidget *parent = nullptr);
    ~Celtic() override;

    // The start-up sequence: settings, layout, card back, deck, title.
    void Form_Load();

    // The menu commands and buttons.
    void Command1_Click();
    void Command2_Click();
    void Image2_Click(int index);
    void changecarddef_Click();
    void save_Click();
    void saveandexit_Click();
    void exit_Click();
    void savelayout_Click();
    void layoutedit_Click();
    void AddCard_Click();
    void removecard_Click();
    void Image2_MouseDown(int index, QPointF position);
    void Image2_MouseMove(int index, QPointF position);
    void Image2_MouseUp(int index);

    // LayoutTable
    void createPosition(int k) override;
    void removePosition(int k) override;
    void bringToFront(int k) override;
    void setCardTooltip(int k, const QString &text) override;
    void setCardVisible(int k, bool visible) override;
    void moveCard(int k, float left, float top) override;
    QPointF cardPlace(int k) const override;
    void setCardDraggable(int k, bool draggable) override;
    bool showBackInCard(int k, const QString &pictureFile) override;
    bool showBackInFace(int k, const QString &pictureFile) override;
    bool showBackInLarge(const QString &pictureFile) override;
    QRect windowGeometry() const override;
    void setWindowGeometry(const QRect &twips) override;
    QSize clientSize() const override;
    void setTitle(const QString &title) override;
    void enablePickCards() override;
    void disablePickCards() override;
    void setPositionCommandsEnabled(bool enabled) override;

    // ReadingTable
    int reversalsState() const override;
    bool loadFacePicture(int p, const QString &pictureFile, bool turned) override;

    // The number of card pictures on the table.
    int cardPictureCount() const { return int(m_cards.size()); }
    platform::PictureElement *cardPicture(int k) const { return m_cards.value(k); }
    platform::PictureElement *facePicture(int k) const { return m_faces.value(k); }
    LayoutEditMode &editMode() const { return *m_editMode; }
    // Draws the dealt faces while the table waits for a click.
    const platform::PictureAhead &facesAhead() const { return m_facesAhead; }

signals:
    // The program is to end now: every window closes with it.
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    QAction *addCommand(QMenu *menu, const QString &name, const QString &caption,
                        const QKeySequence &shortcut = {});
    platform::PictureElement *makeCardPicture(int k);
    platform::PictureElement *makeFacePicture(int k);
    void applyWindowGeometry();
    void drawFacesAhead();
    void catchUpWithFrame();

    CoreState &m_state;
    std::unique_ptr<LayoutEditMode> m_editMode;
    QPushButton *m_browseCards = nullptr;  // Command2
    QPushButton *m_pickCards = nullptr;    // Command1
    QCheckBox *m_reversals = nullptr;      // Check1
    QCheckBox *m_randomLayout = nullptr;   // Check2
    QCheckBox *m_randomDeck = nullptr;     // Check3
    QPlainTextEdit *m_cardMeaning = nullptr;      // Text2
    QPlainTextEdit *m_positionMeaning = nullptr;  // Text1
    platform::PictureElement *m_large = nullptr;  // Image1
    QVector<platform::PictureElement *> m_cards;  // Image2
    QVector<platform::PictureElement *> m_faces;  // Image3
    // Card places as read, so that a fraction of a pixel survives a save.
    QVector<QPointF> m_places;
    QAction *m_addCard = nullptr;
    QAction *m_removeCard = nullptr;
    platform::PictureAhead m_facesAhead;
    QRect m_geometryTwips;  // the outer place and size the layout asked for
    bool m_shownOnce = false;
    // The layout's size was applied without knowing the window frame's.
    bool m_frameUnknown = false;
    bool m_exiting = false;
};

} // namespace vellara
