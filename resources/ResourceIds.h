// Resource ids of the program's pictures and manifest. Plain #defines, so the
// resource compiler and C++ read the same file. Written by scripts/make-pictures.
#ifndef PELIDORE_RESOURCE_IDS_H
#define PELIDORE_RESOURCE_IDS_H

#define IDR_MANIFEST 1

#define IDB_PANEL_BACKGROUND        157
#define IDB_CLOSE_PRESSED           158
#define IDB_CLOSE                   159
#define IDB_ABOUT_PRESSED           160
#define IDB_ABOUT                   161
#define IDB_RECORD_PRESSED          162
#define IDB_RECORD                  163
#define IDB_RECORD_HOVER            164
#define IDB_STOP_PRESSED            165
#define IDB_STOP                    166
#define IDB_SNAPSHOT_PRESSED        168
#define IDB_SNAPSHOT                169
#define IDB_FOLDER_PRESSED          170
#define IDB_FOLDER                  171
#define IDB_SETUP_PRESSED           172
#define IDB_SETUP                   173
#define IDB_LOCK_OPEN_PRESSED       174
#define IDB_LOCK_OPEN               175
#define IDB_LOCK_SET_PRESSED        176
#define IDB_LOCK_SET                177
#define IDB_MARK_CENTRE             178
#define IDB_MARK_BOTTOM_LEFT        179
#define IDB_MARK_TOP_LEFT           180
#define IDB_MARK_BOTTOM_RIGHT       181
#define IDB_MARK_TOP_RIGHT          182
#define IDB_CHECK_BOX               183
#define IDB_CHECK_BOX_CHECKED       184
#define IDB_SETUP_BACKGROUND        185
#define IDB_SLIDER_THUMB            186
#define IDB_SLIDER_TRACK            187
#define IDB_LOGO_BACKGROUND         188
#define IDB_CANCEL_PRESSED          190
#define IDB_CANCEL                  191
#define IDB_OK_PRESSED              192
#define IDB_OK                      193
#define IDB_TIME_LOCK_BACKGROUND    194
#define IDB_SIZE_LOCK_BACKGROUND    195
#define IDB_ABOUT_BACKGROUND        196
#define IDB_MINIMIZE_PRESSED        197
#define IDB_MINIMIZE                198
#define IDB_COMBO                   199
#define IDB_COMBO_HOVER             200
#define IDB_COMBO_OPEN              201
#define IDB_DROP_ARROW              204
#define IDB_DROP_ARROW_PRESSED      205
#define IDB_SMALL_COMBO             207
#define IDB_SMALL_COMBO_HOVER       208
#define IDB_SMALL_COMBO_OPEN        209
#define IDB_COLOR_PRESSED           213
#define IDB_COLOR                   214
#define IDB_BROWSE_PRESSED          215
#define IDB_BROWSE                  216
#define IDB_CORNER_BOTTOM_LEFT      218
#define IDB_CORNER_BOTTOM_LEFT_SET  219
#define IDB_CORNER_TOP_LEFT         220
#define IDB_CORNER_TOP_LEFT_SET     221
#define IDB_CORNER_BOTTOM_RIGHT     222
#define IDB_CORNER_BOTTOM_RIGHT_SET 223
#define IDB_CORNER_TOP_RIGHT        224
#define IDB_CORNER_TOP_RIGHT_SET    225
#define IDB_LOGO_PRESSED            226
#define IDB_LOGO                    227
#define IDB_FOLDER_FIELD            228
#define IDB_SAVE_BACKGROUND         229
#define IDB_PAUSE_PRESSED           240
#define IDB_PAUSE                   241
#define IDB_RESUME_PRESSED          242
#define IDB_RESUME                  243
#define IDB_OPTIONS_PRESSED         244
#define IDB_OPTIONS                 245
#define IDB_CLEAR_PRESSED           246
#define IDB_CLEAR                   247
#define IDB_OPTIONS_BACKGROUND      248

#endif
