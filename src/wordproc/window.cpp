#include "wordproc/window.h"

#include "wordproc/document.h"
#include "wordproc/range.h"

namespace wordproc {

void View::setSeekView(int seek) {
    StoryRef ref;
    Selection& sel = m_doc.selection();
    if (seek == wd::kSeekCurrentPageHeader)
        ref = m_doc.headerFooterAt(StoryKind::Header, sel.story(), sel.start());
    else if (seek == wd::kSeekCurrentPageFooter)
        ref = m_doc.headerFooterAt(StoryKind::Footer, sel.story(), sel.start());
    m_seek = seek;
    m_doc.selection().goTo(ref, 0, 0);
}

}  // namespace wordproc
