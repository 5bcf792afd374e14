// Placeholder until frame drawing lands: clear and present.
#include "render/frame.h"
#include <GL/glut.h>
#include "shell/state.h"
void reshapeFunc(int w, int h)
{
    ApplicationData.width = w ? w : 1;
    ApplicationData.height = h ? h : 1;
    glViewport(0, 0, w, h);
}
void displayFunc()
{
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
    glutSwapBuffers();
}
