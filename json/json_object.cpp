// Placeholder so that the library builds before its first routine lands.
