#include "toolkit/CNBitmap.h"

CNBitmap::CNBitmap() = default;
CNBitmap::~CNBitmap() { Release(); }
HRESULT CNBitmap::Load(HINSTANCE, const wchar_t*) { return E_FAIL; }
HRESULT CNBitmap::LoadResource(HINSTANCE instance, UINT id) { return Load(instance, MAKEINTRESOURCEW(id)); }
HRESULT CNBitmap::Load(const wchar_t*) { return E_FAIL; }
HRESULT CNBitmap::Load(HBITMAP) { return E_FAIL; }
HRESULT CNBitmap::Create(int, int) { return E_FAIL; }
HRESULT CNBitmap::CreateFromDC(HDC, int, int, int, int) { return E_FAIL; }
HRESULT CNBitmap::Save(const wchar_t*) const { return E_FAIL; }
void CNBitmap::Release() {}
