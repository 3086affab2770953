#pragma once
// CMemDC: a device context that stands in for another one while a picture is
// drawn off screen. It covers the other context's clip box with a bitmap of
// that size, in the same logical coordinates, and copies the bitmap back to
// the same place when it goes. A printing context is drawn on directly.

#include "mfc/dc.h"

class CMemDC : public CDC {
 public:
  explicit CMemDC(CDC* pDC);
  ~CMemDC() override;
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  CMemDC* operator->() { return this; }
  operator CMemDC*() { return this; }

 private:
  CBitmap m_bitmap;
  CBitmap* m_pOldBitmap = nullptr;
  CDC* m_pDC;
  CRect m_rect;
  BOOL m_bMemDC;
};
