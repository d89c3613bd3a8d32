#pragma once
// Command ids: the framework's standard commands and the program's own. They
// keep their numbers, so help topics and stored settings stay as they were.

enum : unsigned {
    // File
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PAGE_SETUP = 57605,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57608,
    ID_FILE_MRU_FILE1 = 57616, // to ID_FILE_MRU_FILE1 + 7
    ID_FILE_CLOSE_ALL = 2131,
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    // Edit
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    // Window
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_WINDOW_TILE_VERT = 57652,
    // View
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    // Status bar indicators
    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,
    ID_INDICATOR_SCRL = 59139,
    // Help
    ID_HELP_INDEX = 57666,
    ID_HELP_USING = 57667,
    ID_CONTEXT_HELP = 57668,
    ID_HELP = 57669,
    ID_DEFAULT_HELP = 57670,
    ID_HELP_CONTENTS = 2147,
    ID_HELP_ORDER_FORMS = 2020,
    ID_HELP_NEW_PRODUCTS = 2021,
    ID_HELP_TECH_SUPPORT = 2022,
    // The program's own
    ID_ALBUM_WIZARD = 2155,
    ID_OPTIONS = 2148,
    ID_VIEW_ALBUM = 2121,
    ID_SHOW_FIRST = 2129,
    ID_SHOW_CURRENT = 2005,
    ID_VIEW_FULLSCREEN = 2127,
    ID_VIEW_ENHANCER = 2122,
    // Album window
    ID_TN_DRAG_BETWEEN = 2013,
    ID_TN_SIZE_TINY = 2015,
    ID_TN_SIZE_SMALL = 2016,
    ID_TN_SIZE_MEDIUM = 2017,
    ID_TN_SIZE_LARGE = 2018,
    ID_TN_INFORMATION = 2040,
    ID_TN_DELETE = 2041,
    ID_TN_ADD_IMAGES = 2081,
    ID_TN_TEXT = 2128,
    // Picture window tool-bar commands
    ID_ROTATE_CW = 2034,
    ID_ROTATE_CCW = 2035,
    ID_SCALE_IMAGE = 2038,
    ID_ZOOM_TOOL = 2116,
    ID_CROP_TOOL = 2118,
};
