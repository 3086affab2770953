// The off-screen device context of the grid's painting.
#include "grid/MemDC.h"

CMemDC::CMemDC(CDC* pDC) : m_pDC(pDC), m_bMemDC(!pDC->IsPrinting()) {
  if (!m_bMemDC) {
    m_bPrinting = pDC->m_bPrinting;
    m_hDC = pDC->m_hDC;
    m_hAttribDC = pDC->m_hAttribDC;
    return;
  }
  pDC->GetClipBox(&m_rect);
  CreateCompatibleDC(pDC);
  m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
  m_pOldBitmap = SelectObject(&m_bitmap);
  SetWindowOrg(m_rect.left, m_rect.top);
}

CMemDC::~CMemDC() {
  if (m_bMemDC) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    if (m_pOldBitmap) SelectObject(m_pOldBitmap);
  } else {
    // The handles are the other context's: it releases them.
    m_hDC = m_hAttribDC = nullptr;
  }
}
