#pragma once

#include "profiles/ProfileFile.h"

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;
class TValueListEditor;

// The collapsible key/value groups that show a profile's parameters.
//
// Two uses:
//  - Kind::DetailPanel: the main window's "Profile Detail" panel. Groups Output, Video, Audio
//    and Advanced; key column 95 wide; ShowProfile takes the profile's output extension;
//    a "Custom Size" choice in the "Video Size" row emits CustomSizeRequested; a double-click
//    on a header bar toggles its group like the button.
//  - Kind::ProfileEditor: the Settings dialog's profile editor. Groups Video, Audio and
//    Advanced only (vleOutput, panOutput and btnOutput stay null); columns 160 and 200 at
//    design, the value column following the width; no output extension, no custom size
//    request; header bars ignore clicks, only the buttons collapse.
//
// Both: rows are found by key without regard to letter case (first match). ShowProfile
// replaces the rows of Video, Audio and Advanced; a mouse press in a group repaints all groups
// so that only the focused group marks its current key cell.
class TProfilePanel : public QWidget
{
    Q_OBJECT

public:
    enum class Kind { DetailPanel, ProfileEditor };

    // Height of one row as ShowProfile sizes the groups (17-pixel cell + 1-pixel grid line).
    static constexpr int RowPitch = 18;

    explicit TProfilePanel(Kind kind, QWidget *parent = nullptr);

    Kind PanelKind() const { return FKind; }

    // Loads the profile at path into Video, Audio and Advanced. Returns false and changes
    // nothing when no file exists there. A parameter whose "Sort" is not 1, 2 or 3 goes to the
    // group of the parameter before it; the first one then goes to Advanced. A pick-list
    // "Index" outside its items throws EListError(index): the rows appended so far stay, the
    // heights are not adjusted and the file is not written back. After showing, every profile
    // group is sized to rows x 18 (an empty group counts one row) and its first row is current.
    bool ShowProfile(const QString &path);
    // "." + the "Type" of the profile shown last (DetailPanel only); empty until one was shown.
    QString OutputExtension() const { return FOutputExtension; }

    // Value of the first row with that key; "" when the group has none.
    static QString RowValue(const TValueListEditor *group, const QString &key);
    // Sets the value of the first row with that key; appends a row when the group has none.
    static void SetRowValue(TValueListEditor *group, const QString &key, const QString &text);

    // Collapses a group (height 1, button "+") or expands it (rows x 17 + rows + 1, button "-").
    void ToggleGroup(TValueListEditor *group);
    // Repaints the groups in order Output, Video, Audio, Advanced.
    void RepaintAllGroups();

    // The group of a parameter's Sort (Video, Audio, Advanced).
    TValueListEditor *GroupFor(ProfileGroup group) const;
    // The collapse button that belongs to a group.
    QPushButton *ButtonFor(const TValueListEditor *group) const;

    QScrollArea *ScrollBox1 = nullptr;
    QLabel *panOutput = nullptr;
    QPushButton *btnOutput = nullptr;
    TValueListEditor *vleOutput = nullptr;
    QLabel *panVideo = nullptr;
    QPushButton *btnVideo = nullptr;
    TValueListEditor *vleVideo = nullptr;
    QLabel *panAudio = nullptr;
    QPushButton *btnAudio = nullptr;
    TValueListEditor *vleAudio = nullptr;
    QLabel *panAdvanced = nullptr;
    QPushButton *btnAdvanced = nullptr;
    TValueListEditor *vleAdvanced = nullptr;

public Q_SLOTS:
    void btnOutputClick();
    void btnVideoClick();
    void btnAudioClick();
    void btnAdvancedClick();
    // The custom size trigger: the current row of vleVideo is "Video Size" and reads "Custom Size".
    void vleVideoStringsChange();

Q_SIGNALS:
    // The user (or a shown profile) chose "Custom Size" in the "Video Size" row.
    void CustomSizeRequested();
    // ShowProfile read the profile's "Type" (DetailPanel only): extension is "." + Type. Sent
    // before the parameters are read, so it holds even when a parameter then fails.
    void OutputExtensionChanged(const QString &extension);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TValueListEditor *AddGroup(QWidget *box, const QString &name, const QString &caption,
                               const QStringList &designRows, QLabel *&bar, QPushButton *&button);
    QList<TValueListEditor *> Groups() const;

    Kind FKind;
    QString FOutputExtension;
};
