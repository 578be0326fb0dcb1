// Quorvel's main window: draws the station state and turns every click, edit
// and menu command into a call of its handler. It holds no truth of its own
// beyond what only the window has (view size, wizard page, advanced controls).
#pragma once

#include <QFont>
#include <QMainWindow>
#include <deque>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QBoxLayout;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace qv {

struct Station;
class Handlers;
class Ui;
class SlotGrid;
class SecondaryWindow;
class HelpWindow;
class QtUi;
class MapDock;
class MapPane;
class TileFetcher;

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Station& st, Handlers& handlers, Ui& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Redraws every control from the state with the window's own signals
    // blocked, so drawing never reaches a handler.
    void redraw();

    // Redraws and lets pending events run. User actions that arrive meanwhile
    // wait until the running handler has returned; no socket is read here, so
    // no second line starts classifying.
    void refresh();

    // Window sizes and the commands of the frame.
    void compressedviewmenu_Click();
    void normalviewmenu_Click();
    void maxviewmenu_Click();
    void pgmhelp_Click();
    void HiddenButton_Click();
    void setconfiguraiton_Click();
    void NewSetupWizard_Click();
    void CommandNewSetupNEXT_Click();
    void CommandNewSetupBACK_Click();
    void CommandNewSetupCLOSE_Click();

    // What only the window knows.
    bool advancedShown() const { return advanced_; }
    const QString& wizardTag() const { return wizardTag_; }
    SecondaryWindow* form2() const { return form2_; }
    MapPane* mapPane() const;
    // Map tiles come through this fetcher; without one the map draws its grid alone.
    void attachTiles(TileFetcher* fetcher);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    QWidget* buildTopBand();
    QWidget* buildIncoming();
    QWidget* buildReport();
    QWidget* buildSwitches();
    QWidget* buildMonitor();
    QWidget* buildMapOptions();
    QWidget* buildFiles();
    QWidget* buildRecords();
    void buildMenus();
    void buildWizard();
    void buildChooser();
    void drawChooser();
    void placeCover();
    void connectSlotGrid();
    // Puts the map column beside the station columns when the window is wide
    // enough for both, under them otherwise.
    void arrangeColumns();
    // Shows or puts away everything under the status band (the compressed view).
    void showBody(bool shown);

    // Runs a user action, then redraws. An action raised while another runs
    // (its refresh let the event through) waits and runs after it.
    void act(std::function<void()> f);
    void drainDeferred();
    void onDoubleClick(QWidget* w, std::function<void()> f);
    QAction* menuItem(QMenu* menu, const char* name, const char* caption, std::function<void()> f,
                      bool checkable = false);
    QPushButton* button(const char* name, const char* caption, std::function<void()> f, QWidget* parent);
    // A button whose caption wraps when its column is narrow.
    QPushButton* wrapping(const char* name, const char* caption, std::function<void()> f, QWidget* parent);
    void placeWizard();

    Station& st_;
    Handlers& h_;
    Ui& ui_;

    int depth_ = 0;
    bool drawing_ = false;
    bool drainQueued_ = false;
    std::deque<std::function<void()>> deferred_;
    std::map<QObject*, std::function<void()>> dblClick_;
    std::vector<QObject*> quiet_; // controls connected to handlers

    bool advanced_ = true;
    QString wizardTag_ = "Step 0";

    // controls drawn from the state
    QWidget* panel_ = nullptr;       // everything below the menu bar
    QWidget* incomingBox_ = nullptr; // the incoming line and the send row
    QWidget* body_ = nullptr;        // the scrolling part under them
    QScrollArea* scroll_ = nullptr;
    QBoxLayout* columns_ = nullptr;     // station columns and map column
    QWidget* left_ = nullptr;           // station report, slots, monitor, records
    QWidget* right_ = nullptr;          // map program and map files
    QBoxLayout* rightLayout_ = nullptr; // their order: stacked beside, side by side under
    bool beside_ = true;
    QLineEdit* PGMmessage_ = nullptr;
    QLabel* miclabel_ = nullptr;
    QLabel* debuglog_ = nullptr;
    QLabel* TelnetActiveLabel_ = nullptr;
    QLabel* CaptureAllLabel_ = nullptr;
    QLabel* INcomport_ = nullptr;
    QPushButton* openportcmd_ = nullptr;
    QPushButton* closeportcmd_ = nullptr;
    QPushButton* exportarchive_ = nullptr;
    QPushButton* exportarchiveNotice_ = nullptr;
    QPushButton* importtomapnow_ = nullptr;
    std::vector<QPushButton*> manualImports_; // importSA, autoimport, ImportDelormeTopo, ImportNatGeoTOPO
    QLineEdit* incomingdata_ = nullptr;
    QLineEdit* sendtext_ = nullptr;
    QPushButton* Sendkey_ = nullptr;
    QLineEdit* callsign_ = nullptr;
    QLineEdit* trackname_ = nullptr;
    QLineEdit* latitude_ = nullptr;
    QLineEdit* northsouth_ = nullptr;
    QLineEdit* longitude_ = nullptr;
    QLineEdit* eastwest_ = nullptr;
    QLineEdit* rawgpsdata_ = nullptr;
    std::map<std::string, QCheckBox*> switches_;
    SlotGrid* slots_ = nullptr;
    QCheckBox* autoassign_ = nullptr;
    QCheckBox* mapTactical_ = nullptr;
    QLineEdit* overdue_ = nullptr;
    QCheckBox* trackOnlyMoving_ = nullptr;
    QLabel* trackMovingOn_ = nullptr;
    std::map<std::string, QRadioButton*> mapOptions_;
    std::map<std::string, QRadioButton*> displayOptions_;
    QGroupBox* displayFrame_ = nullptr;
    QCheckBox* timedautoimport_ = nullptr;
    QCheckBox* ODFcheckbox_ = nullptr;
    QWidget* records_ = nullptr;
    std::map<std::string, QLineEdit*> recordFields_;
    std::map<std::string, QAction*> actions_;
    QGroupBox* mapGroup_ = nullptr;
    QPushButton* cover_ = nullptr; // CoverConfigCmdBox, laid over mapGroup_ when covered
    QLabel* coverText_ = nullptr;  // its caption, wrapped
    QFont statusFont_;             // the status field at rest
    QFrame* chooser_ = nullptr;    // FrameFileSelection
    QLabel* chooserFolder_ = nullptr;
    QLabel* chooserFilter_ = nullptr;
    QListWidget* Dir1_ = nullptr;
    QListWidget* File1_ = nullptr;
    QFrame* wizard_ = nullptr;
    QLabel* wizardText_ = nullptr;
    QWidget* form4_ = nullptr;
    SecondaryWindow* form2_ = nullptr;
    HelpWindow* help_ = nullptr;
    MapDock* mapDock_ = nullptr;
};

} // namespace qv
