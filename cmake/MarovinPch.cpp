// Compiles the precompiled header of the target it belongs to (see MarovinPch.cmake).
