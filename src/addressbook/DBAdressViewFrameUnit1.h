#pragma once
// The address picker that a module places at the top of its main window:
// the whole address book in a virtual grid, jumping to an address number,
// free-text, group and special searches with one tab per result, and the
// selected address loaded for the host after a short delay.
#include <QFrame>
#include <QPointer>
#include <functional>
#include <memory>

#include "DBAdress.h"
#include "DBAdressConfig.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QTimer;
class TMemIniFile;
class TAddressTableModel;
class TAddressRowsModel;

class TDBAdressViewFrame1 : public QFrame {
  Q_OBJECT

 public:
  using TFrameEvent = std::function<void(TDBAdressViewFrame1*)>;

  // owner: parent widget, filled by the frame. The configuration is not owned.
  TDBAdressViewFrame1(QWidget* owner, TAddressConfig* addressConfig);
  ~TDBAdressViewFrame1() override;

  TAddressConfig* AddressConfig;
  bool OwnsDatabase = true;
  std::unique_ptr<TDBAdress> Database;
  std::unique_ptr<TCustomerAddress> CurrentAddress;  // the host reads the selected address here
  TOwningObjectList<TDBAdressSearchResultObjectList> SearchResults;  // one per result tab, in tab order
  bool Modified = false;       // set by a host that changed CurrentAddress
  bool DoubleClicked = false;
  QTimer* SelectionTimer = nullptr;
  static constexpr int kSelectionDelayMs = 300;

  TFrameEvent OnAddressChanged;       // CurrentAddress holds the new selection
  TFrameEvent OnBeforeAddressChange;  // CurrentAddress still holds the previous one
  TFrameEvent OnAddressChosen;        // after the load that follows a double click
  TFrameEvent OnBeforeSave;

  QTabWidget* pcAdress = nullptr;
  QWidget* tsAdressMain = nullptr;
  QTableView* VDBGrid = nullptr;
  QListWidget* cbAK = nullptr;
  QLineEdit* edAK = nullptr;
  QListWidget* cbKK = nullptr;
  QListWidget* cbSKK = nullptr;
  QPushButton* btSearchSpez = nullptr;
  QStackedWidget* pcButtons = nullptr;
  QWidget* tsButtonStd = nullptr;
  QLineEdit* edGoto = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QLineEdit* edSearchText = nullptr;
  QPushButton* btSucheStarten = nullptr;
  QWidget* tsButtonSpezial = nullptr;
  QPushButton* btSucheClose = nullptr;

  // While a host's command asks the user something, the current address
  // must stay: a selection that comes due meanwhile waits, and is carried
  // out once the last hold is released. Holds nest.
  void HoldSelection();
  void ReleaseSelection();

  // Selects the address (or, when it is unknown or empty, the first row).
  void GotoAddress(const QString& id);
  void LoadColumnWidths(const TMemIniFile& ini, const QString& section);
  void SaveColumnWidths(TMemIniFile& ini, const QString& section) const;
  // A key the host's window received; true when the frame used it.
  bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
  void SaveIfModified();
  // Before the host frees the frame: result lists, timer, current address
  // and the database go; the frame shows nothing afterwards.
  void Close();

  // The grid of the active tab.
  QTableView* ActiveGrid() const;
  // How many times CurrentAddress was loaded for a selection.
  int RecordsLoaded() const { return recordsLoaded_; }

  // What the controls do; public so that hosts and tests can act as the user.
  void btSucheStartenClick();
  void ComboBox1Select(int index);
  void btSearchSpezClick();
  void btSucheCloseClick();

 private:
  void BuildControls();
  QWidget* BuildAssistant();
  QWidget* BuildButtonPages();
  QTableView* NewGrid(QWidget* parent, TAddressRowsModel* model);
  void FillLists();

  void RestartSelectionTimer();
  void SelectionTimerFired();
  QString SelectedId() const;
  QTableView* GridOn(int tab) const;
  void ShowMainPages();
  void SelectMainRow(int row);
  qint64 CurrentRecNo();
  void pcAdressChange(int index);
  void edGotoChange(const QString& text);
  void GridDoubleClick();
  void StoreCurrentAddress();

  void RunSearch(const QString& caption, const std::function<void(TDBAdressSearchResultObjectList&)>& find);
  void AddResultTab(const QString& caption, std::unique_ptr<TDBAdressSearchResultObjectList> results);
  void RemoveResultTab(int tab);

  int selectionHolds_ = 0;
  bool selectionDue_ = false;  // the delay ran out during a hold
  TAddressTableModel* mainModel_ = nullptr;
  int recordsLoaded_ = 0;
  bool closed_ = false;
};

// Holds the frame's selection for its lifetime (see HoldSelection); a null
// frame, or one that goes meanwhile, is no fault.
class TSelectionHold {
 public:
  explicit TSelectionHold(TDBAdressViewFrame1* frame);
  ~TSelectionHold();
  TSelectionHold(const TSelectionHold&) = delete;
  TSelectionHold& operator=(const TSelectionHold&) = delete;

 private:
  QPointer<TDBAdressViewFrame1> frame_;
};
