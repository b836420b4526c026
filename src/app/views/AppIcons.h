// AppIcons: the program's icons, drawn here: window icon 101, the toolbar's tool icons, and
// the pictures of the IDE model (menu faces) turned into Qt icons.
#pragma once

#include <QIcon>
#include <QPixmap>

#include <string>

namespace corvane::vbide {
struct Picture;
}

namespace corvane::app {

// The icon of a resource id of the program (101: the editor's window icon); null otherwise.
QIcon programIcon(int32_t resourceId);
// The picture of a resource id, as an Image control shows it (empty when unknown).
QPixmap programPicture(int32_t resourceId);
// The icon of a toolbar tool by its icon name ("compile", "spellcheck" ...); null when none.
QIcon toolIcon(const std::string& name);
// A picture of the IDE model (a menu entry's face) as an icon; null when it does not load.
QIcon pictureIcon(const vbide::Picture& picture);

} // namespace corvane::app
