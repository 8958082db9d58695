#pragma once
// The main window of the customer-specific prices editor: the address
// search frame above, the five pages of price data below.
#include <QWidget>
#include <memory>

class QTabWidget;
class QPushButton;
class QSplitter;
class QFrame;
class TAddressConfig;
class TDBAdressViewFrame1;
class TArticlePricePage;
class TDiscountGroupPage;
class TPriceGroupPage;
class TQuantityDiscountPage;
class TKSRabDatabase;
class TKatalogDBPool;
class TUKAT2ArtikelAuswahlForm1;
class TLagerConfig;
class TMemIniFile;

class TMOD00100Form1 : public QWidget {
  Q_OBJECT

 public:
  // arguments: the program's command line, program file first.
  explicit TMOD00100Form1(const QStringList& arguments, QWidget* parent = nullptr);
  ~TMOD00100Form1() override;

  // False when the start-up refused the client or user; the program then ends.
  bool Started() const { return started_; }

  QTabWidget* PageControl1 = nullptr;
  QWidget* Panel1 = nullptr;
  QWidget* Panel7 = nullptr;
  QPushButton* TntButton7 = nullptr;
  QPushButton* btPreisauskunft = nullptr;  // beside it; Ctrl+I
  QPushButton* InfoButton1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QWidget* AddressArea = nullptr;  // holds the address search frame
  QFrame* pnStd = nullptr;
  QPushButton* TntButton8 = nullptr;

  TDBAdressViewFrame1* AddressFrame = nullptr;  // owned; freed at close
  std::unique_ptr<TAddressConfig> AddressConfig;

  // The discount-group pages and what they share.
  std::unique_ptr<TLagerConfig> LagerConfig;
  TDiscountGroupPage* RabPage = nullptr;      // page 0, quotes and orders
  TDiscountGroupPage* KommRabPage = nullptr;  // page 1, commission orders
  TKSRabDatabase* RabDB() const;
  TKSRabDatabase* KommRabDB() const;
  TPriceGroupPage* PgrpPage = nullptr;  // page 4, price groups
  TQuantityDiscountPage* MengenPage = nullptr;  // page 2
  TArticlePricePage* ArtPage = nullptr;  // page 3, article-specific prices
  std::unique_ptr<TKatalogDBPool> KatalogPool;  // the catalogues the article page takes from
  std::unique_ptr<TUKAT2ArtikelAuswahlForm1> KatalogArtikelAuswahl;  // made at start, on the pool

  enum TPageIndex { pgRabatt = 0, pgKommRabatt = 1, pgMengenrabatt = 2, pgArtikelpreise = 3, pgPreisgruppen = 4 };
  // The address the pages work on: the frame's, or "__DEFAULT__" in the standard-tables mode.
  QString CurrentAddressId() const;
  bool StandardMode() const;

  // The frame's events: the pages write back before the address changes
  // and follow it afterwards.
  void AddressChanging(TDBAdressViewFrame1* sender);
  void AddressChanged(TDBAdressViewFrame1* sender);
  void SaveAddressData();
  void ResetAddressData();
  void LoadPageData();
  void LoadRabattgruppen();
  void LoadKommRabattgruppen();
  void LoadPreisgruppen();
  void LoadMengenrabatte();
  void LoadArtikelpreise();
  void PageControl1Changing(int leaving);
  void PageControl1Change();
  void TntButton7Click();  // enter the standard-tables mode
  void TntButton8Click();  // "Fertig": leave it
  // "Preisauskunft" for the current customer or the standard tables.
  void PreisauskunftClick();
  // The window's key preview; true when the key was used.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  // UserClientEtcDir + "MOD00100.INI".
  static QString SettingsFileName();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void FormCreate();
  void BuildLayout();
  QWidget* BuildPanel7();
  QFrame* BuildStandardPanel();
  void InfoButton1Click();
  void ArrangeTabOrder();
  void CreateAddressFrame();
  void ReadSettings();
  QString StartAddressId(const TMemIniFile& ini) const;
  void FormClose();
  void PostGridEdits();
  void WriteSettings();
  void FreeAddressFrame();
  void SetUpPages();
  // The article page's sources: made once the start address is chosen, freed first at close.
  void SetUpArticleSources();
  void FreeArticleSources();
  void TearDownPages();
  void ReadGridSettings(const TMemIniFile& ini);
  void WriteGridSettings(TMemIniFile& ini) const;
  void SetFrameActive(bool on);

  QString Argument(int index) const { return index < arguments_.size() ? arguments_[index] : QString(); }

  QStringList arguments_;
  bool started_ = false;
  int currentPage_ = 0;  // the page shown before a change, for the write-back
};
