#pragma once
// The screen layout side of the frame's playlist work: which layout is in
// use, laying a playlist row's items out to the areas of its layout, the
// layout-check preview of a row, the default size of the layout-check
// window, the remembered resolution choice, and saving an edited playlist
// under a record's number for a preview.

#include "model/layout_template_store.h"

#include <QSize>
#include <QString>

class CAppData;
class CContentsStore;
class CPlaylistEditModel;
class CPlaylistProperty;

// The layout the flag chooses: the application data's current layout when
// true, the content store's playlist layout when false.
CurrentLayout &SelectedLayout(bool current);
LayoutTemplate::Areas GetLayoutAreas(bool current);

// The layout of number and displayMode as the layout in use would hold it.
// False, layout keeping the key with no area in use, when there is no such
// template.
bool LookupLayout(const CLayoutTemplateStore &templates, qint32 number, qint32 displayMode, CurrentLayout &layout);
// Makes the layout of number and displayMode the current layout even without
// a template (then no area is in use), so that the layout windows still show
// its screen. False when there is no template.
bool SetCurrentLayout(CAppData &data, qint32 number, qint32 displayMode);

// The area a playlist track shows its items in (flags 1, 2, 4, 8, 16, 64 give
// 0 to 5); -1 for a track without an area (32 audio, 128 control).
int AreaOfTrackFlag(int flag);

// Gives the items of a row of the playlist the rectangle of their track's
// area. Tracks without an area are passed over. When a cell cannot take its
// rectangle, or its area is not in use in the layout, the playlist is put
// back as it was and false returned; after a full visit the playlist is
// marked modified.
bool LayoutPlaylistRow(CPlaylistEditModel &model, int row, const LayoutTemplate::Areas &areas);

// Gives every item of a track with an area that has no rectangle yet (a
// content just placed, or moved from another track) the rectangle of its
// track's area in the template of the playlist's resolution and orientation.
// False when an item is left without a rectangle: there is no such template,
// or it does not use the area.
bool PlacePlaylistItems(CPlaylistEditModel &model, const CLayoutTemplateStore &templates);
// PlacePlaylistItems before a playlist is saved or sent: an item left
// without a rectangle would show nothing on the players, so the operator is
// told and false returned.
bool CheckPlaylistAreas(CPlaylistEditModel &model, const CLayoutTemplateStore &templates);

// The files the preview draws that lie beside the program.
struct PreviewFolders {
    QString dataRoot;
    QString programFolder;
};
// Fills the preview with the screen of the model's resolution, whether the
// templates have a layout for it, and the pictures of the row's items by
// their tracks' areas; a row outside the model leaves every area off.
void UpdateLayoutPreview(const CPlaylistEditModel &model, int row, bool option, CContentsStore &store,
                         const CLayoutTemplateStore &templates, const PreviewFolders &folders,
                         LayoutPreview &preview);

// The default size of the layout-check window in a client area: kept when
// the window is already larger than 300 pixels in a dimension and the client
// has room for 500 by 300; else by mode (0 to 3) on a large client, else
// 300 by 300, never more than the client holds.
QSize LayoutCheckDefaultSize(int mode, const QSize &current, const QSize &client);

// The remembered playlist resolution and orientation when a player has them,
// else those of the first player, else 0 and 0; the values found are
// remembered.
void GetLastLayoutChoice(qint32 &resolution, qint32 &orientation);

// Saves the edited playlist (52) or background-music list (53) as the
// record's files for a preview. The edited list keeps its own number and
// stays unsaved, so closing it later still asks. The record takes the
// model's resolution, orientation and length and today's create date.
bool PlaylistSavePreview(CPlaylistEditModel &model, int type, CPlaylistProperty &record);
