#pragma once
// Property_SoundsPage: the master sound switch, five event sounds with browse and play
// buttons, what a double click on the tray icon does and which folder the tooltip counts.

#include <array>

#include "core/settings_keys.h"
#include "ui/options_context.h"
#include "ui/options_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vellix {

struct SoundSlot {
    TextKey key;
    int label;
    bool needsMessaging;
};
inline constexpr std::size_t kSoundSlots = 5;
const std::array<SoundSlot, kSoundSlots>& soundSlots();

class Property_SoundsPage final : public OptionsPage {
    Q_OBJECT
  public:
    explicit Property_SoundsPage(OptionsContext& context, QWidget* parent = nullptr);

    bool pageLeaving() override;
    bool applyPage() override;

  private:
    void load();
    bool saveSounds();

    OptionsContext& context_;
    QCheckBox* playSounds_;
    std::array<QLineEdit*, kSoundSlots> files_{};
    QComboBox* doubleClick_;
    QComboBox* tipFolder_;
};

OptionsPageEntry soundsPageEntry();

}  // namespace vellix
