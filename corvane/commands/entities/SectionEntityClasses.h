#pragma once
// The five classes of a drawn section, registered by the module's start-up
// in this order (HdmText, DesignLine, EarthLine, LTGOU, JSGOU, then the class
// hierarchy is built) and deleted by its unload in the same order (their
// entities in open drawings become proxies).

void RegisterSectionEntityClasses();
void UnregisterSectionEntityClasses();
