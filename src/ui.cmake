# The windowed program. Widget code lives here; logic it needs belongs in the core library.
