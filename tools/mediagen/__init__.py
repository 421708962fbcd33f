"""Moonstruck's media generator: pixel-art sprites, the title logo, HUD
labels, sound effects, voices and the music loop, all made in code."""
