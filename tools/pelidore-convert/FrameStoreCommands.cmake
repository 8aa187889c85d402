# The frame store subcommands (FrameStoreCommands.cpp) need the frame store.
list(APPEND PELIDORE_CONVERT_LIBS pelidore_framestore)
