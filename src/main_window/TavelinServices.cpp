// The main window's resize handler, notification-area icon and hot keys.
#include "Tavelin.h"

namespace tavelin {

void Tavelin::Form_Resize() {}
void Tavelin::mnuTray() {}
void Tavelin::SysTrayMouseEventHandler() { mnutavelin_Click(); }
void Tavelin::SysTrayMouseEventHandler1() {}
void Tavelin::mnutavelin_Click() {}
void Tavelin::installHotKeys() {}
void Tavelin::removeTrayIcon() {}

} // namespace tavelin
