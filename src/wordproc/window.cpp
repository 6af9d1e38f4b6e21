#include "wordproc/window.h"

#include "wordproc/document.h"
#include "wordproc/range.h"

namespace wordproc {

void View::setSeekView(int seek) {
    StoryRef ref;
    if (seek == wd::kSeekCurrentPageHeader) {
        m_doc.ensureHeaderFooter(StoryKind::Header);
        ref.kind = StoryKind::Header;
    } else if (seek == wd::kSeekCurrentPageFooter) {
        m_doc.ensureHeaderFooter(StoryKind::Footer);
        ref.kind = StoryKind::Footer;
    }
    m_seek = seek;
    m_doc.selection().goTo(ref, 0, 0);
}

}  // namespace wordproc
