// The ReGIS mouse cursor of a window: loaded from the module's resources
// while graphics are shown, replaced by the I-beam when they go away.
#pragma once

class CGrDrv;

// Loads "ReGisCursor" unless the surface holds it already, and makes it the
// window's class cursor and the current cursor.
void InstallRegisCursor(CGrDrv& surface);

// If the surface holds the ReGIS cursor: the I-beam becomes the class cursor
// and the current cursor, and the ReGIS cursor is destroyed.
void RemoveRegisCursor(CGrDrv& surface);
