// The text of a system error number, safe to ask for on any thread.
#pragma once

// The same text strerror gives, kept in a buffer of the calling thread: it
// stays valid until that thread asks for the next one.
const char* ErrorText(int error);
