// The info columns at the right of both pages: what the selected node of
// the bouquet tree or of the services tree holds. They fill themselves from
// a node; the main window acts on the typed changes they report.
#pragma once

#include "core/ListDocument.h"
#include "text/ListText.h"

#include <QFrame>
#include <QLabel>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QGridLayout;
class QVBoxLayout;

namespace xantu {

// A label that reports clicks (the "SatPosition" caption opens the settings).
class TClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A framed panel with a bold heading and rows of caption and value.
class TInfoPanel : public QFrame {
    Q_OBJECT
  public:
    TInfoPanel(const QString& objectName, const QString& heading, QWidget* parent = nullptr);
    QLabel* Heading() const { return heading_; }
    // Adds a row; returns the value label (bold, plain text).
    QLabel* AddRow(const QString& caption, const QString& valueName, QLabel** captionLabel = nullptr);
    void AddRowWidget(QWidget* captionWidget, QWidget* value);
    QGridLayout* Grid() const { return grid_; }

  private:
    QLabel* heading_;
    QGridLayout* grid_;
};

// BouquetRPanel: heading, then the bouquet panel (B) or the text of the
// reserved bouquet (A), then the channel entry panel (C). It shows a node
// of the bouquet tree and reports what the user typed or clicked.
class TBouquetInfo : public QFrame {
    Q_OBJECT
  public:
    explicit TBouquetInfo(QWidget* parent = nullptr);

    // Shows `node` (a bouquet or an entry; its bouquet's fields for an
    // entry). `editable`: the lists may change now (the channel name field
    // of "andere" never may). Typed-change signals stay silent meanwhile.
    void Show(const TBasicBNode& node, int boxType, TNameCharset charset, bool editable);
    // Nothing selected: only the heading stays.
    void ShowNothing();
    // The lists stand still (the box is busy): no field takes input.
    void SetEditable(bool editable);
    // Puts `text` into the bouquet name field without reporting it.
    void ReplaceBouquetName(const QString& text);
    // The two name fields, for the editing's undo rules.
    QList<QLineEdit*> NameFields() const;

  signals:
    void BouquetNameEdited(const QString& typed);
    void ChannelNameEdited(const QString& typed);
    void HiddenClicked(bool checked);
    void LockedClicked(bool checked);
    void GotoServiceClicked();
    void SatPositionClicked();

  private:
    QLabel* BouquetInfoCaptionPanel;
    TInfoPanel* BouquetBInfoPanel;
    QFrame* BouquetAInfoPanel;
    TInfoPanel* BouquetCInfoPanel;
    QLabel* LAndereInfoText;
    QLineEdit* EBBouquetName;
    QCheckBox* EBBouquetHidden;
    QCheckBox* EBBouquetLocked;
    QLineEdit* EBChannelName;
    QLabel* LBChannelOnID;
    QLabel* LBChannelTsID;
    QLabel* LBChannelServiceID;
    TClickLabel* Label15;
    QLabel* LBChannelSatPosition;
    QPushButton* BttnGotoService;
    bool filling_ = false;
};

// ServicesRPanel: heading with the three counters, then the satellite (or
// cable network), transponder and channel panels. It shows a node of the
// services tree.
class TServicesInfo : public QFrame {
    Q_OBJECT
  public:
    explicit TServicesInfo(QWidget* parent = nullptr);

    void Show(const TBasicSNode& node, int boxType, TNameCharset charset);
    void ShowNothing();
    void ShowCounters(int total, int tv, int radio);
    // Satellite box: "Satelit" with DisEqc and position, "Polarization";
    // cable box: "Kabel" without them, "Modulation".
    void SetBoxLabels(bool satellite);

  private:
    QFrame* ServicesInfoCaptionPanel;
    QLabel* LSrvGesamt;
    QLabel* LSrvTV;
    QLabel* LSrvRadio;
    TInfoPanel* ServicesSatInfoPanel1;
    TInfoPanel* ServicesSatInfoPanel2;
    TInfoPanel* ServicesSatInfoPanel3;
    QLabel* LSSatName;
    QLabel* LSSatDisEqc;
    QLabel* LSSatPosition;
    QLabel* CaptionSatDisEqc;
    QLabel* CaptionSatPosition;
    QLabel* LSTrID;
    QLabel* LSTrOnID;
    QLabel* LSTrFrequency;
    QLabel* LSTrInversion;
    QLabel* LSTrSymbolrate;
    QLabel* LSTrFec_inner;
    QLabel* LSTrPolarization;
    QLabel* CaptionTrPolarization;
    QLabel* LSChName;
    QLabel* LSChServiceID;
    QLabel* LSChServiceType;
    QLabel* LSChServiceChNr;
};

} // namespace xantu
