// Two things of OpenGL 1.1 that the browser's GL (WebGL under emscripten's emulation)
// does not do, done here for the program, which draws with GL 1.1 directly.
mergeInto(LibraryManager.library, {
  // Texture names are the program's own (0, 1, 2 ... as GL 1.1 allows: a name
  // becomes a texture when first bound, and 0 is a texture too); WebGL knows only
  // the names it handed out, so a name bound for the first time gets its texture.
  glBindTexture__deps: ['$GL'],
  glBindTexture: function(target, texture) {
    if (!GL.textures[texture]) {
      var created = GLctx.createTexture();
      created.name = texture;
      GL.textures[texture] = created;
      if (texture >= GL.counter) GL.counter = texture + 1;  // never handed out again
    }
    GLctx.bindTexture(target, GL.textures[texture]);
  },

  // GL 1.1 names the internal format by its number of components (1..4); WebGL
  // wants the format itself.
  glTexImage2D__deps: ['$emscriptenWebGLGetTexPixelData'],
  glTexImage2D: function(target, level, internalFormat, width, height, border, format, type, pixels) {
    if (internalFormat >= 1 && internalFormat <= 4) internalFormat = format;
    GLctx.texImage2D(target, level, internalFormat, width, height, border, format, type,
                     pixels ? emscriptenWebGLGetTexPixelData(type, format, width, height, pixels, internalFormat) : null);
  },
});
