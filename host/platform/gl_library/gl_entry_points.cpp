// The OpenGL and OSMesa entry points the host and its modules call, bound to the software
// OpenGL library only when the first of them is called (the first render): a session that
// draws nothing never loads it. Each entry point looks its target up once.
#include <GL/gl.h>
#include <GL/osmesa.h>

#include "gl_library.h"

// Defines `name` with the library's own signature: the call goes to the library's function of
// that name, or, when the library is missing, does nothing and answers zero.
#define QV_GL_FORWARD(ret, name, params, args)                                                 \
    ret GLAPIENTRY name params {                                                               \
        static const auto target = reinterpret_cast<decltype(&name)>(qv::gl::LibrarySymbol(#name)); \
        if (target) return target args;                                                        \
        return ret();                                                                          \
    }

extern "C" {

QV_GL_FORWARD(OSMesaContext, OSMesaCreateContextExt,
              (GLenum format, GLint depthBits, GLint stencilBits, GLint accumBits,
               OSMesaContext sharelist),
              (format, depthBits, stencilBits, accumBits, sharelist))
QV_GL_FORWARD(void, OSMesaDestroyContext, (OSMesaContext ctx), (ctx))
QV_GL_FORWARD(GLboolean, OSMesaMakeCurrent,
              (OSMesaContext ctx, void* buffer, GLenum type, GLsizei width, GLsizei height),
              (ctx, buffer, type, width, height))
QV_GL_FORWARD(OSMesaContext, OSMesaGetCurrentContext, (void), ())
QV_GL_FORWARD(GLboolean, OSMesaGetColorBuffer,
              (OSMesaContext c, GLint* width, GLint* height, GLint* format, void** buffer),
              (c, width, height, format, buffer))

QV_GL_FORWARD(void, glBegin, (GLenum mode), (mode))
QV_GL_FORWARD(void, glEnd, (void), ())
QV_GL_FORWARD(void, glVertex2f, (GLfloat x, GLfloat y), (x, y))
QV_GL_FORWARD(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
QV_GL_FORWARD(void, glNormal3f, (GLfloat nx, GLfloat ny, GLfloat nz), (nx, ny, nz))
QV_GL_FORWARD(void, glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b))
QV_GL_FORWARD(void, glColor3fv, (const GLfloat* v), (v))
QV_GL_FORWARD(void, glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))
QV_GL_FORWARD(void, glRectf, (GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2), (x1, y1, x2, y2))

QV_GL_FORWARD(void, glEnable, (GLenum cap), (cap))
QV_GL_FORWARD(void, glDisable, (GLenum cap), (cap))
QV_GL_FORWARD(GLboolean, glIsEnabled, (GLenum cap), (cap))
QV_GL_FORWARD(void, glPushAttrib, (GLbitfield mask), (mask))
QV_GL_FORWARD(void, glPopAttrib, (void), ())
QV_GL_FORWARD(void, glGetFloatv, (GLenum pname, GLfloat* params), (pname, params))
QV_GL_FORWARD(void, glGetIntegerv, (GLenum pname, GLint* params), (pname, params))
QV_GL_FORWARD(void, glPolygonMode, (GLenum face, GLenum mode), (face, mode))
QV_GL_FORWARD(void, glPointSize, (GLfloat size), (size))
QV_GL_FORWARD(void, glLineWidth, (GLfloat width), (width))
QV_GL_FORWARD(void, glBlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor))
QV_GL_FORWARD(void, glDepthMask, (GLboolean flag), (flag))
QV_GL_FORWARD(void, glDepthFunc, (GLenum func), (func))
QV_GL_FORWARD(void, glColorMask, (GLboolean r, GLboolean g, GLboolean b, GLboolean a), (r, g, b, a))
QV_GL_FORWARD(void, glCullFace, (GLenum mode), (mode))
QV_GL_FORWARD(void, glLightfv, (GLenum light, GLenum pname, const GLfloat* params),
              (light, pname, params))
QV_GL_FORWARD(void, glColorMaterial, (GLenum face, GLenum mode), (face, mode))

QV_GL_FORWARD(void, glMatrixMode, (GLenum mode), (mode))
QV_GL_FORWARD(void, glLoadIdentity, (void), ())
QV_GL_FORWARD(void, glLoadMatrixf, (const GLfloat* m), (m))
QV_GL_FORWARD(void, glPushMatrix, (void), ())
QV_GL_FORWARD(void, glPopMatrix, (void), ())
QV_GL_FORWARD(void, glOrtho,
              (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearVal,
               GLdouble farVal),
              (left, right, bottom, top, nearVal, farVal))
QV_GL_FORWARD(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height),
              (x, y, width, height))

QV_GL_FORWARD(void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a))
QV_GL_FORWARD(void, glClearDepth, (GLclampd depth), (depth))
QV_GL_FORWARD(void, glClear, (GLbitfield mask), (mask))
QV_GL_FORWARD(void, glFinish, (void), ())
QV_GL_FORWARD(void, glReadPixels,
              (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
               GLvoid* pixels),
              (x, y, width, height, format, type, pixels))


// The window's interface layer draws with client-side arrays and one font texture.
QV_GL_FORWARD(void, glBindTexture, (GLenum texTarget, GLuint texture), (texTarget, texture))
QV_GL_FORWARD(void, glGenTextures, (GLsizei n, GLuint* textures), (n, textures))
QV_GL_FORWARD(void, glDeleteTextures, (GLsizei n, const GLuint* textures), (n, textures))
QV_GL_FORWARD(void, glTexImage2D,
              (GLenum texTarget, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
               GLint border, GLenum format, GLenum type, const GLvoid* pixels),
              (texTarget, level, internalFormat, width, height, border, format, type, pixels))
QV_GL_FORWARD(void, glTexParameteri, (GLenum texTarget, GLenum pname, GLint param), (texTarget, pname, param))
QV_GL_FORWARD(void, glTexEnvi, (GLenum texTarget, GLenum pname, GLint param), (texTarget, pname, param))
QV_GL_FORWARD(void, glGetTexEnviv, (GLenum texTarget, GLenum pname, GLint* params), (texTarget, pname, params))
QV_GL_FORWARD(void, glEnableClientState, (GLenum cap), (cap))
QV_GL_FORWARD(void, glDisableClientState, (GLenum cap), (cap))
QV_GL_FORWARD(void, glVertexPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* ptr),
              (size, type, stride, ptr))
QV_GL_FORWARD(void, glTexCoordPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* ptr),
              (size, type, stride, ptr))
QV_GL_FORWARD(void, glColorPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* ptr),
              (size, type, stride, ptr))
QV_GL_FORWARD(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const GLvoid* indices),
              (mode, count, type, indices))
QV_GL_FORWARD(void, glScissor, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))
QV_GL_FORWARD(void, glShadeModel, (GLenum mode), (mode))
QV_GL_FORWARD(void, glPixelStorei, (GLenum pname, GLint param), (pname, param))
QV_GL_FORWARD(void, glReadBuffer, (GLenum mode), (mode))

}  // extern "C"
