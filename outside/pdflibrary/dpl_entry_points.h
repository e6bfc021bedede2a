// The entry points of the PDF library that the program binds by name. Every one takes the
// library instance identifier first; coordinates, sizes and colour components are doubles,
// file names wide strings. Results are 0 for failure unless said otherwise.
#pragma once

extern "C" {
typedef int (*DPLCreateLibraryFn)();
typedef int (*DPLReleaseLibraryFn)(int instance);
// A document handle (non-zero) that DPLDACloseFile releases; 0 when the file did not load.
typedef int (*DPLLoadFromFileFn)(int instance, const wchar_t* fileName, const wchar_t* password);
typedef int (*DPLDACloseFileFn)(int instance, int document);
typedef int (*DPLPageCountFn)(int instance);
typedef int (*DPLSelectPageFn)(int instance, int page);
typedef int (*DPLGetOriginFn)(int instance);
typedef int (*DPLCombineContentStreamsFn)(int instance);
typedef int (*DPLContentStreamCountFn)(int instance);
typedef int (*DPLSelectContentStreamFn)(int instance, int index);
typedef const char* (*DPLGetContentStreamToStringFn)(int instance);
typedef int (*DPLAnsiStringResultLengthFn)(int instance);
typedef int (*DPLSplitPageTextFn)(int instance, int options);
typedef const wchar_t* (*DPLGetPageTextFn)(int instance, int options);
typedef int (*DPLStringResultLengthFn)(int instance);
// Formats: 0 BMP, 1 JPEG, 4 EPS, 7 TIFF.
typedef int (*DPLRenderPageToFileFn)(int instance, int dpi, int page, int format,
                                     const wchar_t* fileName);
typedef int (*DPLNewDocumentFn)(int instance);
typedef int (*DPLSetMeasurementUnitsFn)(int instance, int units);
typedef int (*DPLSetOriginFn)(int instance, int origin);
typedef int (*DPLSetPageDimensionsFn)(int instance, double width, double height);
typedef int (*DPLSaveToFileFn)(int instance, const wchar_t* fileName);
typedef int (*DPLSetLineWidthFn)(int instance, double width);
typedef int (*DPLSetLineJoinFn)(int instance, int join);
typedef int (*DPLSetColorFn)(int instance, double red, double green, double blue);
typedef int (*DPLSetColorCMYKFn)(int instance, double cyan, double magenta, double yellow,
                                 double black);
typedef int (*DPLPointFn)(int instance, double x, double y);
typedef int (*DPLAddCurveToPathFn)(int instance, double x1, double y1, double x2, double y2,
                                   double x3, double y3);
// Sweeps round the centre from the current point; positive degrees turn counter-clockwise.
typedef int (*DPLAddArcToPathFn)(int instance, double centreX, double centreY, double sweep);
typedef int (*DPLClosePathFn)(int instance);
// Options: 0 outline, 1 fill, 2 fill and outline.
typedef int (*DPLDrawPathFn)(int instance, int option);
typedef int (*DPLDrawLineFn)(int instance, double x1, double y1, double x2, double y2);
}

// Values of the calls above.
constexpr int kDplFormatBmp = 0;
constexpr int kDplFormatJpeg = 1;
constexpr int kDplFormatEps = 4;
constexpr int kDplFormatTiff = 7;
constexpr int kDplPathOutline = 0;
constexpr int kDplPathFill = 1;
constexpr int kDplPathFillAndOutline = 2;
