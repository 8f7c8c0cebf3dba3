// What OpenGL 1.1 does and the browser's GL (WebGL under emscripten's emulation)
// does not, done here for the program, which draws with GL 1.1 directly.
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

  // The current colour. In GL 1.1 glColor sets it, between glBegin and glEnd as
  // outside, and every vertex takes the colour current when it is given. The
  // emulation writes a colour given between glBegin and glEnd into the vertex data
  // once, as a field of the next vertex alone, and lays the data out as if every
  // vertex had the fields of the first: a colour set once for several vertices (a
  // text's glyphs, white and red) shifts every vertex after it. Here glColor only
  // sets the current colour, and every vertex carries it.
  glColor4f__sig: 'vffff',
  glColor4f__deps: ['$GLImmediate'],
  glColor4f: function(r, g, b, a) {
    var colour = GLImmediate.clientColor;
    colour[0] = Math.max(Math.min(r, 1), 0);
    colour[1] = Math.max(Math.min(g, 1), 0);
    colour[2] = Math.max(Math.min(b, 1), 0);
    colour[3] = Math.max(Math.min(a, 1), 0);
  },

  glVertex4f__sig: 'vffff',
  glVertex4f__deps: ['$GLImmediate'],
  glVertex4f: function(x, y, z, w) {
    var data = GLImmediate.vertexData;
    var at = GLImmediate.vertexCounter;
    data.set(GLImmediate.clientColor, at);
    GLImmediate.addRendererComponent(GLImmediate.COLOR, 4, GLctx.FLOAT);
    data[at + 4] = x;
    data[at + 5] = y;
    data[at + 6] = z;
    data[at + 7] = w;
    GLImmediate.vertexCounter = at + 8;
    GLImmediate.addRendererComponent(GLImmediate.VERTEX, 4, GLctx.FLOAT);
  },
  glVertex3f__sig: 'vfff',
  glVertex3f__deps: ['glVertex4f'],
  glVertex3f: function(x, y, z) { _glVertex4f(x, y, z, 1); },
  glVertex2f__sig: 'vff',
  glVertex2f__deps: ['glVertex4f'],
  glVertex2f: function(x, y) { _glVertex4f(x, y, 0, 1); },

  // The emulation's own calls (glColor3f, glColor3ub, glVertex3fv ...) go through
  // these names: they reach the functions above too.
  emscripten_glColor4f: 'glColor4f',
  emscripten_glVertex4f: 'glVertex4f',
  emscripten_glVertex3f: 'glVertex3f',
  emscripten_glVertex2f: 'glVertex2f',

  // GL_CURRENT_COLOR, which the emulation does not answer (WebGL has no such state).
  glGetFloatv__deps: ['$GLImmediate', '$emscriptenWebGLGet'],
  glGetFloatv: function(name, p) {
    if (name == 0xB00 /* GL_CURRENT_COLOR */) {
      HEAPF32.set(GLImmediate.clientColor, p >> 2);
      return;
    }
    emscriptenWebGLGet(name, p, {{{ cDefine('EM_FUNC_SIG_PARAM_F') }}});
  },
});
