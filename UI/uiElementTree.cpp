#include "uiElementTree.h"

namespace {

void (*g_endEdit)(uiElement* editField);

}  // namespace

void uiElement_AddChild(uiElement* parent, uiElement* child)
{
    if (!parent || !child || child == parent) return;
    if (child->flags & UIELEMENT_ATTACHED) child->Detach();
    uiElement* first = parent->pChild;
    if (!first) {
        parent->pChild = child;
        child->pPrev = child->pNext = nullptr;
    } else {
        child->pPrev = first;
        child->pNext = first->pNext;
        if (first->pNext) first->pNext->pPrev = child;
        first->pNext = child;
    }
    child->pParent = parent;
    uiElement_SetDialog(child, parent->pDialog);
}

void uiElement_AddSibling(uiElement* element, uiElement* sibling)
{
    if (!element || !sibling || sibling == element) return;
    if (sibling->flags & UIELEMENT_ATTACHED) sibling->Detach();
    sibling->pPrev = element;
    sibling->pNext = element->pNext;
    if (element->pNext) element->pNext->pPrev = sibling;
    element->pNext = sibling;
    sibling->pParent = element->pParent;
    uiElement_SetDialog(sibling, element->pDialog);
}

void uiElement_SetDialog(uiElement* element, uiDialog* dialog)
{
    element->pDialog = dialog;
    element->flags |= UIELEMENT_ATTACHED | UIELEMENT_DIRTY;
    uiElement_Layout(element);
    for (uiElement* child = element->pChild; child; child = child->pNext)
        uiElement_SetDialog(child, dialog);
}

int uiElement_Detach(uiElement* element)
{
    if (element->pPrev) element->pPrev->pNext = element->pNext;
    if (element->pNext) element->pNext->pPrev = element->pPrev;
    if (element->pParent) {
        if (element->pParent->pChild == element) element->pParent->pChild = element->pNext;
        element->pParent->flags |= UIELEMENT_DIRTY;
    } else if (element->pDialog && element->pDialog->pFirst == element) {
        element->pDialog->pFirst = element->pNext;
    }
    element->pParent = element->pNext = element->pPrev = nullptr;
    element->numOverlaps = 0;
    if (!(element->flags & UIELEMENT_IN_DIALOG)) {
        // A widget that leaves its dialog leaves the dialog's focus ring with it.
        uiElement_RemoveTabStop(element);
        if (element->pDialog && element->pDialog->pFocus == element) element->pDialog->pFocus = nullptr;
        element->pDialog = nullptr;
    }
    element->flags &= ~(UIELEMENT_ATTACHED | UIELEMENT_OVERLAPS_PARENT);
    return 1;
}

void uiElement_Layout(uiElement* element)
{
    if (!element->pDialog || !(element->flags & UIELEMENT_ATTACHED)) return;
    uiRect common;
    if (uiElement* parent = element->pParent) {
        if (!uiRect_Intersect(&common, &element->rect, &parent->rect)) {
            element->flags &= ~UIELEMENT_OVERLAPS_PARENT;
            return;
        }
        element->flags |= UIELEMENT_OVERLAPS_PARENT;
        element->sourceX = common.x - element->rect.x;
        element->sourceY = common.y - element->rect.y;
        element->visible = {common.x - parent->rect.x, common.y - parent->rect.y, common.width,
                            common.height};
        return;
    }
    element->numOverlaps = 0;
    for (uiQuad* quad = element->pDialog->pQuads; quad; quad = quad->pNext) {
        // A widget covers at most as many quads as it has records for.
        if (element->numOverlaps >= UIELEMENT_MAX_OVERLAPS) break;
        const uiRect quadRect = {quad->x, quad->y, quad->width, quad->height};
        if (!uiRect_Intersect(&common, &element->rect, &quadRect)) continue;
        if (common.width == 0 || common.height == 0) continue;
        uiOverlap& o = element->overlaps[element->numOverlaps++];
        o.pQuad = quad;
        o.quadRect = {common.x - quad->x, common.y - quad->y, common.width, common.height};
        o.elementRect = {common.x - element->rect.x, common.y - element->rect.y, common.width,
                         common.height};
    }
}

void uiElement_SetEndEdit(void (*endEdit)(uiElement* editField))
{
    g_endEdit = endEdit;
}

void uiElement_EndEdit(uiElement* element)
{
    if (element && element->kind == UIKIND_EDITBOX && g_endEdit) g_endEdit(element);
}

void uiElement_RemoveTabStop(uiElement* element)
{
    if (!(element->flags & UIELEMENT_TAB_STOP)) return;
    uiDialog* dialog = element->pDialog;
    if (element->pTabNext == element || !element->pTabNext) {
        if (dialog && dialog->pTabStart == element) dialog->pTabStart = nullptr;
    } else {
        element->pTabPrev->pTabNext = element->pTabNext;
        element->pTabNext->pTabPrev = element->pTabPrev;
        if (dialog && dialog->pTabStart == element) dialog->pTabStart = element->pTabNext;
    }
    element->pTabNext = element->pTabPrev = nullptr;
    element->flags &= ~UIELEMENT_TAB_STOP;
}
