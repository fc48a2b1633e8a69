#include "windows/TEULA.h"

std::string TEULA::AgreementText(const std::string& applicationTitle) {
    return "Welcome to " + applicationTitle + ". " +
           "This game has been thoroughly tested at every stage of its production.\r\r"
           "As with any software, we advise you to run a virus checker on it before you "
           "run it.\r\r"
           "Neither the sponsor, Careerly Limited, nor the makers of the software, "
           "Brightwork, accept any responsibility for loss, disruption or damage to your "
           "data or your computer system.\r\r"
           "All names and details in the game are fictitious.\r\r"
           "You may use this software only if you agree to these conditions; if you do not, "
           "exit the program now.\r\r";
}
